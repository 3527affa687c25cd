// The traffic: six cars and four obstacles, each parked just outside the road or on it.
// Init_Car parks them all before a race; SetCar lets them onto the road once a second.
#include "runtime/random.h"
#include "screens/form_main.h"

void form_Main::Init_Car()
{
    img_Car1->setLeft(-117);
    img_Car2->setLeft(601);
    img_Car3->setLeft(-164);
    img_Car4->setLeft(601);
    img_Car5->setTop(-114);
    img_Car6->setTop(307);
    for (Picture* obstacle : img_Shogai) obstacle->setLeft(-79);
    for (int n = 1; n <= 6; ++n) CarFlag[n] = VbFalse;
    for (int n = 1; n <= 4; ++n) ShogaiFlag[n] = VbFalse;
}
