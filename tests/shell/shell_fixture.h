// Window and message-loop tests: each starts from a fresh shell with every message box
// answered Yes, and ends with the window it may have made destroyed.
#pragma once
#include <gtest/gtest.h>
#include "platform/sdl/window.h"
#include "shell/shell.h"
#include "test_support.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShell();
        BoxesStart(IDYES);
    }
    void TearDown() override {
        if (PlatformWindowAlive(WindowHandle)) DestroyDemoWindow();
        BoxesStop();
        ResetShell();
    }
};
