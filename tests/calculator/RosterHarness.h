#pragma once

// Character files for the roster's tests: characters played in a calculator session, written as the
// calculator saves them, and their bytes to compare.

#include "calculator/CharacterFileIO.h"
#include "session/CalculatorSession.h"

#include <QFile>
#include <QString>
#include <QTest>

#include <optional>
#include <string>

namespace vorn::test {

// A character of the class with so many events, alternately with silver and maxed out, the first named.
inline CharacterState playedCharacter(int32_t classCode, int events, const std::string& silver = "3")
{
    CalculatorSession s;
    s.setToday([] { return std::optional<CalendarDay>(CalendarDay{2026, 3, 14}); });
    BoxTexts boxes;
    boxes.silver = silver;
    s.selectClass(classCode, boxes);
    for (int i = 0; i < events; ++i)
        i % 2 ? s.addMaxOut(boxes) : s.addEventWithTraining(boxes);
    if (events > 0)
        s.editEvent(1, "Spring Muster");
    return s.state(boxes);
}

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The character as Add X Blankets and an Add record the event in the window, from the file's state.
inline CharacterState steppedByAdd(const CharacterState& state, int16_t length, bool maxOut, int32_t blankets,
                                   const EventNotes& notes)
{
    CalculatorSession window;
    window.restore(state);
    BoxTexts boxes;
    boxes.eventLength = QByteArray::number(length).toStdString();
    window.selectEventLength(CalculatorSession::kManualLength, boxes);
    if (blankets > 0)
        window.addBlankets(std::to_string(blankets), boxes);
    maxOut ? window.addMaxOut(boxes) : window.addEvent(boxes);
    CharacterState after = window.state(boxes);
    after.eventLengthEntry = state.eventLengthEntry;
    after.manualLength = state.manualLength;
    for (std::size_t i = state.steps.size(); i < after.steps.size(); ++i)
        after.steps[i].notes = {notes.event, notes.date,
                                after.steps[i].kind == Step::Kind::Event ? notes.note : ""};
    return after;
}

} // namespace vorn::test
