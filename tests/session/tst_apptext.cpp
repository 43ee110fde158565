// The words both front ends show around the calculator: one row per case.
#include "session/AppText.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

TEST(AppText, TitlesAndMessages)
{
    const std::string title = appTitle();
    ASSERT_EQ(title, "VORN Build Calculator");
    const struct {
        std::string shown;
        std::string expected;
    } cases[] = {
        // clang-format off
        {windowTitle("", ""),                         title},
        {windowTitle("", "*"),                        title},  // no file, no mark
        {windowTitle("Aldric.vornchar", ""),          "Aldric.vornchar - " + title},
        {windowTitle("Aldric.vornchar", "*"),         "Aldric.vornchar* - " + title},
        {windowTitle("Aldric.vornchar", "[*]"),       "Aldric.vornchar[*] - " + title},
        {historyTitle(),                              "History - " + title},
        {newCharacterFileName(),                      "Character.vornchar"},
        {saveQuestion(""),                            "Save this character?"},
        {saveQuestion("Aldric.vornchar"),             "Save changes to Aldric.vornchar?"},
        {notSavedMessage("A.vornchar", "Disk full"),  "\"A.vornchar\" could not be saved: Disk full. Your changes are not saved yet."},
        {notReadMessage("A.vornchar", "I/O error"),   "\"A.vornchar\" could not be read: I/O error."},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, c.expected);
}

} // namespace
} // namespace vorn
