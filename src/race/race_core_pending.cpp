// Interim answers for the race core's procedures until the race tick, traffic, collision test,
// crash and game over land. Whoever lands one deletes it from here.
#include <QPushButton>

#include "screens/form_main.h"

void form_Main::timer_Zenta_Timer() {}
void form_Main::SetCar() {}
VBool form_Main::IsClossed(const Picture*, const Picture*) const { return VbFalse; }
void form_Main::Crushfun(int16_t) {}
void form_Main::timer_Crush_Timer() {}
void form_Main::GameOver(int16_t)
{
    timer_Main->setEnabled(false);
    timer_Zenta->setEnabled(false);
    InputEnabled = VbFalse;
    cmd_Start->setEnabled(true);
    cmd_Title->setEnabled(true);
    setTopMenusEnabled(true);
}
