#include "SessionModel.h"

namespace vorn::test {

void SessionModel::undo()
{
    if (!canUndo())
        return;
    goTo(position - 1);
    undone << QString();
}

void SessionModel::redo()
{
    if (!canRedo()) // the command is disabled
        return;
    if (const std::optional<QString> box = nextUndone(); box && !box->isEmpty()) {
        undone.removeLast();
        typingForward(*box);
        return;
    }
    if (!undone.isEmpty())
        undone.removeLast();
    if (canRedo())
        goTo(position + 1);
}

void SessionModel::undoKey()
{
    if (typingBack())
        undone << focus;
    else
        undo();
}

void SessionModel::redoKey()
{
    const std::optional<QString> next = nextUndone();
    if (!next && typingForward(focus))
        return;
    // Typing comes back by the key in any box, as the box takes the key; elsewhere the key is Redo's.
    if (next && !next->isEmpty() && text.contains(focus)) {
        undone.removeLast();
        typingForward(*next);
        return;
    }
    redo();
}

std::optional<QString> SessionModel::nextUndone()
{
    if (!canRedo())
        undone.removeAll(QString());
    while (!undone.isEmpty() && !undone.last().isEmpty() &&
           (typing.value(undone.last()).forward.isEmpty() || (undone.last() == kBox && !manual())))
        undone.removeLast();
    return undone.isEmpty() ? std::nullopt : std::optional<QString>(undone.last());
}

void SessionModel::newCharacter()
{
    if (asksBeforeNew())
        said << "Save this character?";
    build = 30;
    looseXP = 0;
    history = {{30, 0}};
    position = 0;
    refresh();
}

QString SessionModel::copiedResults() const
{
    static const char* const captions[] = {"Level", "Body", "Build", "Loose XP", "Total XP", "XP/BP Ratio"};
    QStringList lines;
    for (int i = 0; i < 6; ++i)
        lines << QString("%1: %2").arg(captions[i], labels[i]);
    return lines.join('\n');
}

bool SessionModel::moveFocus(const QString& target)
{
    const bool guarding = manual() && (focus == kBox || (checkPending && focus == kLengthList));
    if (guarding && target != focus && target != kBox) {
        if (target == kLengthList && focus == kBox) {
            checkPending = true;
        } else if (!usableLength()) {
            said << kBadLength;
            // Back from the list too, where the box lost its selection; refused from the box, the
            // focus never left it and its selection stays.
            if (focus != kBox)
                wholeTextSelected = false;
            focus = kBox;
            checkPending = false;
            return false;
        } else {
            checkPending = false;
            refresh();
        }
    }
    if (target == kBox)
        checkPending = false;
    wholeTextSelected = target != focus && isNumberBox(target); // a click in the box places the cursor
    focus = target;
    if (wholeTextSelected)
        cursorMoved(target);
    return true;
}

void SessionModel::pressedIn(const QString& box, bool hadFocus)
{
    if (!text[box].isEmpty() && (hadFocus || box == kBox) && typing[box].moved == Moved::No)
        typing[box].moved = Moved::Maybe;
}

bool SessionModel::typingStepUnknown(const QString& box) const
{
    const Typing t = typing.value(box);
    return text[box].isEmpty() && !t.back.isEmpty() && t.forward.isEmpty() && t.moved == Moved::Maybe;
}

QString SessionModel::tabNeighbour(bool forward) const
{
    const qsizetype n = kTabOrder.size();
    qsizetype i = kTabOrder.indexOf(focus);
    do
        i = (i + (forward ? 1 : n - 1)) % n;
    while (kTabOrder[i] == kBox && !manual());
    return kTabOrder[i];
}

std::optional<int32_t> SessionModel::eventXP() const
{
    try {
        if (const std::optional<int16_t> length = usableLength())
            return rules<LiteralBuildUtils>().getXPForEvent(*length, 0);
    } catch (const OverflowError&) {
    }
    return std::nullopt;
}

void SessionModel::typed(const QString& box, const QString& newText)
{
    Typing& t = typing[box];
    const QString& old = text[box];
    if (!old.isEmpty() || !newText.isEmpty()) { // nothing deleted, nothing typed: no trace either
        // Deleting a selection starts an undo step, and so does typing after the cursor has moved.
        // Typing into a box emptied by the last typing, with the cursor still where that typing
        // left it (undo and redo don't move it for this purpose), continues that typing's step.
        const bool continues =
            old.isEmpty() && !t.back.isEmpty() && t.forward.isEmpty() && t.moved == Moved::No;
        if (!continues)
            t.back << old;
        t.forward.clear();
        t.moved = Moved::No;
    }
    text[box] = newText;
    wholeTextSelected = false;
}

void SessionModel::select(const QString& list, int entry)
{
    int& current = list == kLengthList ? lengthEntry : classEntry;
    if (entry == current)
        return; // choosing the entry already chosen is no change
    current = entry;
    refresh();
}

void SessionModel::toggleMaxOut()
{
    maxOut = !maxOut;
    refresh();
}

void SessionModel::press(const QString& button)
{
    const std::optional<int16_t> length = usableLength();
    if (button == "cmdLengthHelp") {
        said << kHelp;
    } else if (button == "cmdSetStartingBuildLevel1") {
        change(startAt(30, 0));
    } else if (button == "cmdSetStartingBuild") {
        setStart();
    } else if (button == "cmdAddEventTraining") {
        double silver = -1; // not a number: as wrong as a negative amount
        try {
            silver = textToReal(text[kSilver].toStdString());
        } catch (const std::exception&) {
        }
        const std::optional<int32_t> most = eventXP();
        if (!refused({{!length, kBadLength, kBox},
                      {!(most && silver >= 0 && silver <= *most), kBadSilver, kSilver}}))
            change([&](auto& r) { r.addBuild(*length, silver); });
    } else if (!refused({{!length, kBadLength, kBox}})) {
        change([&](auto& r) { r.addBuild(*length, button == "cmdAddMaxOut" ? -1.0 : 0.0); });
    }
}

void SessionModel::addBlankets(const std::optional<std::string>& answer)
{
    said << kBlanketPrompt;
    const std::string typed = answer.value_or("");
    if (typed.find_first_not_of(" \t\r\n") == std::string::npos)
        return; // Cancel or nothing typed: nothing to do, nothing to refresh
    const Whole count = whole(typed);
    if (refused({{count.beyond, kTooLarge, {}},
                 {!count.value, "The number of blankets must be a whole number.", {}}}))
        return;
    if (*count.value <= 0) {
        refresh(); // no blankets: nothing to record
        return;
    }
    // The literal rules give one blanket at a time: only a few are quick to follow.
    const auto apply = [n = *count.value](auto& r) { r.addBlankets(n); };
    if (*count.value <= 2000)
        change(apply);
    else
        change<BuildUtils>(apply);
}

void SessionModel::reverseCalculate()
{
    try {
        // The literal count re-adds Total XP after every blanket: only small characters are quick.
        const auto literal = rules<LiteralBuildUtils>();
        const int32_t count = build < 1000 && literal.TotalXP() < 1'000'000
                                  ? literal.getTotalBlankets()
                                  : rules<BuildUtils>().getTotalBlankets();
        said << QString("Your character has a total of %1 blankets.\r\nNote that this does not count "
                        "your starting 15 build.")
                    .arg(count);
    } catch (const OverflowError&) {
        said << "This character's blanket count is too large for this calculator.";
    }
}

SessionModel::Whole SessionModel::whole(const std::string& s)
{
    try {
        return {textToInt32(s)};
    } catch (const OverflowError&) {
        return {std::nullopt, true};
    } catch (const TypeMismatchError&) {
        return {};
    }
}

std::optional<int16_t> SessionModel::usableLength() const
{
    if (!(leading(text[kBox]) > 0))
        return std::nullopt;
    try {
        return textToInt16(text[kBox].toStdString());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool SessionModel::refused(std::initializer_list<Refusal> refusals)
{
    for (const Refusal& r : refusals) {
        if (!r.holds)
            continue;
        said << r.message;
        if (!r.box.isEmpty())
            focusAndSelect(r.box);
        if (r.message == kTooLarge)
            refresh();
        return true;
    }
    return false;
}

void SessionModel::focusAndSelect(const QString& box)
{
    focus = box;
    wholeTextSelected = isNumberBox(box);
    if (wholeTextSelected)
        cursorMoved(box);
}

void SessionModel::setStart()
{
    // Both leading numbers are looked at before either box is read in full; the Build comes first.
    const Whole b = whole(text[kStartBuild].toStdString());
    const Whole l = whole(text[kStartLoose].toStdString());
    if (refused({{leading(text[kStartBuild]) < 15, "Starting Build cannot be less then 15.", kStartBuild},
                 {leading(text[kStartLoose]) < 0, "Starting Loose XP cannot be below 0.", kStartLoose},
                 {b.below(15), "Starting Build must be a number of at least 15.", kStartBuild},
                 {b.beyond, kTooLarge, kStartBuild},
                 {l.below(0), "Starting Loose XP must be a number of 0 or more.", kStartLoose},
                 {l.beyond, kTooLarge, kStartLoose}}))
        return;
    // Too large: the box to change is the Build when it can't be counted even without Loose XP.
    if (!change(startAt(*b.value, *l.value)))
        focusAndSelect(changed<LiteralBuildUtils>(startAt(*b.value, 0)) ? kStartLoose : kStartBuild);
}

template <typename Rules> Rules SessionModel::rules(QStringList* sink) const
{
    const int32_t classCode = classEntry + 1; // Fighter 1 … Scholar 4, in list order
    typename Rules::MessageSink say;
    if (sink)
        say = [sink](const std::string& m) { *sink << QString::fromStdString(m); };
    Rules r(say, [classCode] { return classCode; });
    r.setBuild(build);
    r.setLooseXP(looseXP);
    return r;
}

template <typename Rules, typename Change>
SessionModel::Character SessionModel::changed(Change apply, QStringList* sink) const
{
    Rules r = rules<Rules>(sink);
    try {
        apply(r);
        (void)r.level();
        (void)r.body();
        (void)r.xpBPRatio();
        (void)r.TotalXP();
        return std::pair{r.build(), r.looseXP()};
    } catch (const OverflowError&) {
    } catch (const TypeMismatchError&) {
    }
    return std::nullopt;
}

template <typename Rules, typename Change> bool SessionModel::change(Change apply)
{
    const Character after = changed<Rules>(apply, &said);
    if (after) {
        std::tie(build, looseXP) = *after;
        history.resize(position + 1); // a new step drops the undone ones
        history << *after;
        ++position;
    } else
        said << kTooLarge;
    refresh();
    return after.has_value();
}

void SessionModel::refresh()
{
    if (!manual() && text[kBox] != QString::number(kLengths[lengthEntry])) {
        text[kBox] = QString::number(kLengths[lengthEntry]);
        typing.remove(kBox); // a text the program writes leaves nothing to undo
    }
    const LiteralBuildUtils r = rules<LiteralBuildUtils>();
    auto show = [](auto read) {
        try {
            return QString::number(read());
        } catch (const std::exception&) {
            return QString();
        }
    };
    labels = QStringList{show([&] { return r.level(); }),   show([&] { return r.body(); }),
                         show([&] { return r.build(); }),   show([&] { return r.looseXP(); }),
                         show([&] { return r.TotalXP(); }), show([&] { return r.xpBPRatio(); })};
    const double coin = maxOut ? -1.0 : 0.0;
    const std::optional<int16_t> length = usableLength();
    const Character next =
        length ? changed<LiteralBuildUtils>([&](auto& c) { c.addBuild(*length, coin); }) : std::nullopt;
    labels << (next ? QString::number(next->first - build) : QString())
           << (next ? QString::number(r.getXPForEvent(*length, coin)) : QString());
}

void SessionModel::cursorMoved(const QString& box)
{
    if (!text[box].isEmpty())
        typing[box].moved = Moved::Yes;
}

bool SessionModel::typingBack()
{
    if (!typing.contains(focus) || typing[focus].back.isEmpty())
        return false;
    Typing& t = typing[focus];
    t.forward << text[focus];
    text[focus] = t.back.takeLast();
    wholeTextSelected = true; // the old text comes back selected, as it was when it was typed over
    return true;
}

bool SessionModel::typingForward(const QString& box)
{
    if (typing.value(box).forward.isEmpty())
        return false;
    Typing& t = typing[box];
    t.back << text[box];
    text[box] = t.forward.takeLast();
    // The cursor ends after the typing; with more to redo, the text as the next typing found it,
    // selected to be typed over.
    if (box == focus)
        wholeTextSelected = !t.forward.isEmpty();
    return true;
}

void SessionModel::goTo(qsizetype step)
{
    position = step;
    std::tie(build, looseXP) = history[step];
    refresh();
}

} // namespace vorn::test
