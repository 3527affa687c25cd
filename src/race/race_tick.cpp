// The race tick, twice a second: the distance, the road scroll, the traffic and the hero's
// hit tests.
#include "screens/form_main.h"

void form_Main::Init_Zenta()
{
    img_JetR[0]->takePictureOf(*img_JetR[1]);
    img_JetR[0]->move(448, 112);
    img_JetR[0]->setVisible(true);
    img_Zenta[0]->takePictureOf(*img_Zenta[1]);
    lbl_Msg->setCaption(QString());
    lbl_Time->setCaption(QString());
    lbl_Dist->setCaption(QString());
}
