// Interim answers for the clear scene and the race screen's menu until they land. Whoever
// lands one deletes it from here.
#include "screens/form_main.h"

void form_Main::WinGame()
{
    timer_Main->setEnabled(false);
    timer_Zenta->setEnabled(false);
    InputEnabled = VbFalse;
}
void form_Main::timer_Clear_Timer() {}
void form_Main::cmd_Title_Click() {}
void form_Main::mtitle_Click() { cmd_Title_Click(); }
void form_Main::mend_Click() { close(); }
void form_Main::mabout_Click() {}
