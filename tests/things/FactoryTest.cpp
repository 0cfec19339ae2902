#include "things/ThingFactory.h"

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
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

template <typename Kind>
void expectKind(int kind) {
    std::unique_ptr<Thing> thing(createThing(kind, 3, 5));
    ASSERT_NE(nullptr, thing) << "kind " << kind;
    EXPECT_NE(nullptr, dynamic_cast<Kind*>(thing.get())) << "kind " << kind;
    EXPECT_EQ(kind, thing->getType());
    EXPECT_EQ(96, thing->getRect()->x) << "kind " << kind;
    EXPECT_EQ(160, thing->getRect()->y) << "kind " << kind;
}

}  // namespace

TEST(Factory, EachKindBuildsItsClassWithTypeSet) {
    ScratchDir dir;
    expectKind<Hint>(28);
    expectKind<Portal>(29);
    expectKind<Zipper>(30);
    expectKind<Chomper>(31);
    expectKind<Flapper>(32);
    expectKind<Blobber>(33);
    expectKind<Door>(34);
    expectKind<Milk>(35);
    expectKind<Maimframe>(36);
    expectKind<Crab>(37);
    expectKind<MenuOptions>(38);
    expectKind<MenuControls>(39);
    expectKind<MenuContinue>(40);
    // Zipper derives from Chomper, so the cast above cannot tell 31 from 30.
    std::unique_ptr<Thing> chomper(createThing(31, 0, 0));
    EXPECT_EQ(nullptr, dynamic_cast<Zipper*>(chomper.get()));
}


TEST(Factory, KindsOutsideTheObjectRangeGiveNothing) {
    ScratchDir dir;
    for (int kind : {-1, 0, 1, 4, 17, 26, 27, 41, 42, 100}) {
        EXPECT_EQ(nullptr, createThing(kind, 0, 0)) << "kind " << kind;
    }
}
