#include "things/ThingFactory.h"

#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Crab.h"
#include "things/Door.h"
#include "things/Flapper.h"
#include "things/Hint.h"
#include "things/Maimframe.h"
#include "things/MenuControls.h"
#include "things/MenuOptions.h"
#include "things/Milk.h"
#include "things/Portal.h"
#include "things/Zipper.h"

Thing* createThing(int kind, int col, int row) {
    Thing* thing = nullptr;
    switch (kind) {
    case 28: thing = new Hint(col, row); break;
    case 29: thing = new Portal(col, row); break;
    case 30: thing = new Zipper(col, row); break;
    case 31: thing = new Chomper(col, row); break;
    case 32: thing = new Flapper(col, row); break;
    case 33: thing = new Blobber(col, row); break;
    case 34: thing = new Door(col, row); break;
    case 35: thing = new Milk(col, row); break;
    case 36: thing = new Maimframe(col, row); break;
    case 37: thing = new Crab(col, row); break;
    case 38: thing = new MenuOptions(col, row); break;
    case 39: thing = new MenuControls(col, row); break;
    default: return nullptr;
    }
    thing->setType(kind);
    return thing;
}
