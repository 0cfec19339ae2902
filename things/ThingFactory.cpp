#include "things/ThingFactory.h"

#include "level/Tiles.h"

#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Crab.h"
#include "things/Door.h"
#include "things/Flapper.h"
#include "things/Hint.h"
#include "things/Maimframe.h"
#include "things/MenuContinue.h"
#include "things/MenuControls.h"
#include "things/MenuOptions.h"
#include "things/Milk.h"
#include "things/Portal.h"
#include "things/Zipper.h"

Thing* createThing(int kind, int col, int row) {
    Thing* thing = nullptr;
    switch (kind) {
    case KindHint: thing = new Hint(col, row); break;
    case KindPortal: thing = new Portal(col, row); break;
    case KindZipper: thing = new Zipper(col, row); break;
    case KindChomper: thing = new Chomper(col, row); break;
    case KindFlapper: thing = new Flapper(col, row); break;
    case KindBlobber: thing = new Blobber(col, row); break;
    case KindDoor: thing = new Door(col, row); break;
    case KindMilk: thing = new Milk(col, row); break;
    case KindMaimframe: thing = new Maimframe(col, row); break;
    case KindCrab: thing = new Crab(col, row); break;
    case KindMenuOptions: thing = new MenuOptions(col, row); break;
    case KindMenuControls: thing = new MenuControls(col, row); break;
    case KindMenuContinue: thing = new MenuContinue(col, row); break;
    default: return nullptr;
    }
    thing->setType(kind);
    return thing;
}
