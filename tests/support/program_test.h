// End-to-end tests that each start the real program: every test meets no
// running copy and no stored state of the program, and leaves none behind,
// whichever tests ran before it and whether or not it passed.
#pragma once
#include "support/morrowby_process.h"
#include <gtest/gtest.h>

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearProgramTraces(); }
    void TearDown() override { ClearProgramTraces(); }
};
