#include <gtest/gtest.h>
#include "platform/sdl/keys.h"

TEST(VirtualKeys, MatchWindowsCodes) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), 0x1Bu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_p), 0x50u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), (UINT)'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), (UINT)'Z');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), (UINT)'0');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), (UINT)'9');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), 0x70u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 0x7Bu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F13), 0x7Cu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT), 0x25u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), 0x28u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0), 0x60u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_9), 0x69u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT), 0x12u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_APPLICATION), 0u);
}
