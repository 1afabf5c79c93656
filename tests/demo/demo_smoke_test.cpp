#include "demo/demo.h"
#include "demo_fixture.h"

// Every scene's window renders with black bands; the frame past the end draws nothing.
TEST_F(DemoTest, EveryWindowRendersInsideTheLetterbox) {
    for (uint32_t position :
         {0u, (uint32_t)SCENE2_START, (uint32_t)SCENE3_START, (uint32_t)SCENE4_START,
          (uint32_t)SCENE5_START, (uint32_t)SCENE6_START, (uint32_t)SCENE7_START,
          (uint32_t)TIMELINE_END - 2}) {
        SCOPED_TRACE(position);
        ExpectBandsBlack(Frame(position));
    }
    EXPECT_FALSE(CaptureFrame(TIMELINE_END, false));
}
