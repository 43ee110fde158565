// The parts of the page, the manual page and the README written from the session's tables: a table of
// parts and what they must read, one per line, then how the documents are filled in.
#include "fragments/Fragments.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::fragments {
namespace {

TEST(Fragments, PagePartsSayWhatTheTablesSay)
{
    const Parts parts = pageParts();
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        // clang-format off
        {"text:fraBlankets",              "Blanket Control"},
        {"text:cmdAddMaxOut",             "Add Max Out/NPC"},
        {"text:lblLevel",                 "0"},
        {"attributes:txtSilverSubmitted", "value=\"0\" title=\"Amount of silver turned in for training\""},
        {"attributes:txtStartingBuild",   "value=\"30\" aria-label=\"Starting Build\""},  // its label says "Build"
        {"attributes:txtStartingLooseXP", "value=\"0\" aria-label=\"Starting Loose XP\""},
        {"attributes:cboEventLength",     ""},                                             // its label says it
        {"attributes:chkShowMaxOut",      "checked"},
        {"attributes:cmdSetStartingBuild", ""},
        {"options:cboCharacterClass",     "<option value=\"1\">Fighter</option><option value=\"2\">Rogue</option>"
                                          "<option value=\"3\">Templar</option><option value=\"4\">Scholar</option>"},
        {"caption:cboPlanLength",         "Event length:"},
        {"accesskey:cboPlanLength",       "l"},
        {"caption:cmdApplyPlan",          "Apply Plan"},
        {"accesskey:cmdApplyPlan",        "a"},
        {"attributes:txtPlanSilver",      "value=\"0\" aria-label=\"Silver for training per event\""},
        {"attributes:txtPlanGoal",        "aria-label=\"Goal value\""},
        {"options:cboPlanCoin",           "<option value=\"none\">No training</option><option value=\"maxOut\">Max out"
                                          "</option><option value=\"silver\">Silver for training</option>"},
        {"historyTitle",                  "History - VORN Build Calculator"},
        {"planTitle",                     "Plan Ahead"},
        {"characterFileExtension",        ".vornchar"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(parts.contains(c.name));
        EXPECT_EQ(parts.at(c.name), c.expected);
    }
    // Plan Ahead's lengths are the calculator's, manual input included.
    EXPECT_EQ(parts.at("options:cboPlanLength"), parts.at("options:cboEventLength"));
    EXPECT_NE(parts.at("options:cboEventLength").find("<option value=\"-1\">&lt;manual input&gt;</option>"),
              std::string::npos);
}

TEST(Fragments, TheMenuBarHoldsThePageCommands)
{
    const std::string menus = pageParts().at("menus");
    for (
        const char* line : {
            // clang-format off
             R"(<button type="button" id="mnuFile" accesskey="f" aria-expanded="false" aria-controls="mnuFileMenu">File</button>)",
             R"(<button type="button" id="mnuExtras" aria-expanded="false" aria-controls="mnuExtrasMenu">Extras</button>)",
             R"(<li><button type="button" id="mnuNew" aria-keyshortcuts="Alt+N" data-keys="Alt+N">New Character</button></li>)",
             R"(<li hidden><button type="button" id="mnuShareCharacter">Share Character…</button></li>)",
             "<li class=\"separator\" aria-hidden=\"true\"></li>\n        <li><button type=\"button\" id=\"mnuExportHistory\">",
             R"(<li><button type="button" id="mnuRedo" aria-keyshortcuts="Control+Y Control+Shift+Z" data-keys="Ctrl+Y" disabled>Redo</button></li>)",
             R"(<li class="menu"><button type="button" id="mnuAbout">About</button></li>)",
            // clang-format on
        }) {
        SCOPED_TRACE(line);
        EXPECT_NE(menus.find(line), std::string::npos);
    }
    EXPECT_EQ(menus.find("mnuQuit"), std::string::npos); // a page never quits
}

TEST(Fragments, AboutListsThePageKeysWithTheirNotes)
{
    const std::string rows = pageParts().at("keyRows");
    EXPECT_EQ(
        rows.substr(0, rows.find('\n')),
        R"(      <tr><th scope="row">Alt+N</th><td>New Character (the browser keeps Ctrl+N for a new window)</td></tr>)");
    EXPECT_NE(rows.find("<th scope=\"row\">Ctrl+Y, Ctrl+Shift+Z</th><td>Redo</td>"), std::string::npos);
}

TEST(Fragments, TheManualListsTheDesktopKeys)
{
    const std::string roff = manualParts().at("shortcuts");
    EXPECT_TRUE(
        roff.starts_with(".TP 18\n.B Ctrl+N\nNew Character: a new character with a history of its own\n.TP\n"
                         ".B Ctrl+O\nOpen Character...\n"));
    EXPECT_NE(roff.find(".TP\n.BR Ctrl+Y \", \" Ctrl+Shift+Z\nRedo\n"), std::string::npos);
    EXPECT_TRUE(roff.ends_with(".B Ctrl+P\nPlan Ahead...: how many events until a goal"));
    EXPECT_EQ(roff.find("Share"), std::string::npos); // the page's alone
}

TEST(Fragments, TheReadmeTableHasEveryKeyedCommand)
{
    const std::string table = readmeParts().at("keys");
    EXPECT_NE(
        table.find("| File → New Character | Ctrl+N | Alt+N (the browser keeps Ctrl+N for a new window) |\n"),
        std::string::npos);
    EXPECT_NE(table.find("| File → Quit | Ctrl+Q | — |\n"), std::string::npos);
    EXPECT_NE(table.find("| Edit → Redo | Ctrl+Y or Ctrl+Shift+Z | Ctrl+Y or Ctrl+Shift+Z |\n"),
              std::string::npos);
    EXPECT_EQ(table.find("Export"), std::string::npos);

    const std::string readme =
        "# Title\n<!-- {{keys}}: generated -->\nstale\n<!-- end of {{keys}} -->\nafter\n";
    EXPECT_EQ(refreshReadme(readme, readmeParts()),
              "# Title\n<!-- {{keys}}: generated -->\n" + table + "<!-- end of {{keys}} -->\nafter\n");
    EXPECT_THROW(refreshReadme("# Title\n", readmeParts()), Problem);
}

TEST(Fragments, FillingIn)
{
    const Parts parts{{"a", "<A>"}, {"attributes:x", ""}, {"attributes:y", "title=\"Y\""}, {"text:x", "X"}};
    const struct {
        const char* document;
        const char* expected;
    } cases[] = {
        // clang-format off
        {"{{a}} and {{a}}",                          "<A> and <A>"},
        {"<b id=\"x\" {{attributes:x}}>{{text:x}}</b>", "<b id=\"x\">X</b>"},  // no attributes, no blank
        {"<b id=\"y\" {{attributes:y}}>",            "<b id=\"y\" title=\"Y\">"},
        {"no placeholder",                           "no placeholder"},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(fillIn(c.document, parts), c.expected);
    EXPECT_THROW(fillIn("{{b}}", parts), Problem);
    EXPECT_THROW(fillIn("{{a", parts), Problem);
    // Every control has a place, and every part without a control.
    EXPECT_NO_THROW(fillIn("{{a}}{{text:x}}{{attributes:y}}", parts, true));
    EXPECT_THROW(fillIn("{{a}}{{text:x}}", parts, true), Problem);
    EXPECT_THROW(fillIn("{{text:x}}{{attributes:y}}", parts, true), Problem);
}

} // namespace
} // namespace vorn::fragments
