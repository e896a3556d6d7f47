// Runs the settings dialog inside the test process, modelessly from the same
// template and dialog procedure, next to the program's hidden main window.
#pragma once
#include "support/gamma_recorder.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Stores the record as it is now (the dialog loads it again when it
    // opens) and creates the dialog. Without fading the fade-in timer is
    // stopped at once, so no late ramp write mixes into a test.
    HWND Open(bool fading = false);
    void Close();

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool Ticked(int id) const { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Command(int id) const;
    int Selection(int comboId) const;
    int SliderPosition() const;
    void SetSlider(int position) const;
    void SetText(int id, const std::string& text) const {
        SetDlgItemTextA(dialog, id, text.c_str());
    }

    HWND dialog = nullptr;
};

// What a message box showed before it was answered with OK.
struct SeenMessageBox {
    bool Seen = false;
    std::string Text;
    HWND Owner = nullptr;
};
// Runs action; a message box with this caption that opens meanwhile is read
// and answered from a timer running in the box's own modal loop.
SeenMessageBox AnswerMessageBox(const char* caption, const std::function<void()>& action);

// Names the cases of a parameterised test after their Name field.
template <class Case> std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.Name;
}

// Reads a value of the test settings key (terminating zero dropped).
bool ReadTestSetting(const char* name, std::string* data);
// True when the last ramp written to the display is this one.
bool LastRampIs(const GammaRamp& expected);
