#include "session/RecoveryFile.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

const std::string kName = "\"calculator-7-1.vornrecover\"";

// A Templar with two events and a note, as a calculator keeps it.
CharacterState character()
{
    CalculatorSession session;
    BoxTexts boxes;
    boxes.silver = "12.5";
    session.selectClass(3, boxes);
    session.addEventWithTraining(boxes);
    session.addMaxOut(boxes);
    session.editNote(1, "Staff said \"fine\"");
    return session.state(boxes);
}

RecoveryRecord withFile()
{
    return {character(), "/home/ann/Characters/Ann \"the bold\"\n.vornchar", 1234, std::string(64, 'a'),
            "2026-12-08T18:30:05Z"};
}

RecoveryRecord withoutFile()
{
    return {character(), std::nullopt, -1, "", "2026-01-31T00:00:00Z"};
}

// A recovery file whose first line is `header`, over the character as Save writes it.
std::string withHeader(const std::string& header)
{
    return header + "\n" + writeCharacterFile(character());
}

std::string damaged(const std::string& why)
{
    return kName + " is damaged: " + why + ".";
}

TEST(RecoveryFile, KeepsTheCharacterAsSaveWritesItUnderOneLine)
{
    const std::string text = writeRecoveryFile(withFile());
    EXPECT_EQ(
        text.substr(0, text.find('\n')),
        R"({"format": "VORN recovery", "version": 1, "written": "2026-12-08T18:30:05Z", )"
        R"("file": "/home/ann/Characters/Ann \"the bold\"\n.vornchar", "fileSize": 1234, "fileSha256": ")" +
            std::string(64, 'a') + "\"}");
    EXPECT_EQ(text.substr(text.find('\n') + 1), writeCharacterFile(character()));
    for (const RecoveryRecord& record : {withFile(), withoutFile()}) {
        const RecoveryFileReading read = readRecoveryFile(writeRecoveryFile(record), "x");
        ASSERT_TRUE(read.record) << read.problem;
        EXPECT_EQ(*read.record, record);
    }
}

TEST(RecoveryFile, RefusesEveryDamagedFileWithOneMessage)
{
    const std::string good = writeRecoveryFile(withFile());
    const std::string header = good.substr(0, good.find('\n'));
    // The good first line with one field's text replaced.
    const auto changed = [&header](const std::string& from, const std::string& to) {
        std::string line = header;
        return withHeader(line.replace(line.find(from), from.size(), to));
    };
    struct Row {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const Row rows[] = {
        {"empty", "", kName + " is empty."},
        {"cut short in the first line", good.substr(0, 40), damaged("it is cut short")},
        {"cut short after the first line", good.substr(0, good.find('\n') + 1), damaged("it is cut short")},
        {"cut short in the character", good.substr(0, good.size() / 2), damaged("it is cut short")},
        {"a character file", writeCharacterFile(character()), kName + " is not a VORN recovery file."},
        {"another program's text", "hello\nworld\n", kName + " is not a VORN recovery file."},
        {"a broken first line", changed(", \"version\"", ", , \"version\""),
         damaged("its first line is not valid JSON")},
        {"a newer version", changed("\"version\": 1", "\"version\": 2"),
         kName + " was saved by a newer version of this calculator."},
        {"no version", changed("\"version\": 1, ", ""), damaged("it has no \"version\"")},
        {"version 0", changed("\"version\": 1", "\"version\": 0"),
         damaged("\"version\" must be a whole number from 1 to 1")},
        {"no time", changed("\"written\": \"2026-12-08T18:30:05Z\", ", ""), damaged("it has no \"written\"")},
        {"a local time", changed("18:30:05Z", "18:30:05"),
         damaged("\"written\" must be a time written as 2026-12-08T18:30:05Z")},
        {"month 13", changed("2026-12-08", "2026-13-08"),
         damaged("\"written\" must be a time written as 2026-12-08T18:30:05Z")},
        {"a file that is a number", changed("\"file\": \"/home", "\"file\": 5, \"x\": \"/home"),
         damaged("\"file\" must be the name of a file, or null")},
        {"a negative size with a file", changed("\"fileSize\": 1234", "\"fileSize\": -1"),
         damaged("\"fileSize\" must be a whole number of 0 or more")},
        {"a short hash", changed(std::string(64, 'a'), "abc"),
         damaged("\"fileSha256\" must be 64 hexadecimal digits")},
        {"a size without a file",
         withHeader(R"({"format": "VORN recovery", "version": 1, "written": "2026-12-08T18:30:05Z", )"
                    R"("file": null, "fileSize": 3, "fileSha256": ""})"),
         damaged("\"fileSize\" must be -1")},
        // The character is the character file's reader's to judge, in its words.
        {"a step that does not follow",
         [&good] {
             std::string text = good;
             return text.replace(text.find("\"buildAfter\": "), 16, "\"buildAfter\": 99");
         }(),
         damaged("step 1 does not follow from the starting values")},
    };
    for (const Row& row : rows) {
        const RecoveryFileReading read = readRecoveryFile(row.bytes, "calculator-7-1.vornrecover");
        EXPECT_FALSE(read.record) << row.name;
        EXPECT_EQ(read.problem, row.message) << row.name;
    }
}

TEST(RecoveryFile, NamesOneFilePerRun)
{
    EXPECT_EQ(recoveryFileName(4242, 1765218605123), "calculator-4242-1765218605123.vornrecover");
}

} // namespace
} // namespace vorn
