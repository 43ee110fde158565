#include "common/SingleLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QValidator>

#include <algorithm>

namespace vorn {
namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The box applies what its validator makes of an edit before it signals any change, so no one sees the
// text with its line breaks.
class LineBreakStripper : public QValidator {
public:
    LineBreakStripper(const QValidator* next, QObject* parent) : QValidator(parent), m_next(next) {}

    State validate(QString& input, int& cursor) const override
    {
        if (std::any_of(input.begin(), input.end(), isLineBreak)) {
            QString kept;
            kept.reserve(input.size());
            int keptBeforeCursor = 0;
            for (int i = 0; i < input.size(); ++i) {
                if (isLineBreak(input[i]))
                    continue;
                kept += input[i];
                if (i < cursor)
                    ++keptBeforeCursor;
            }
            input = kept;
            cursor = keptBeforeCursor;
        }
        return m_next ? m_next->validate(input, cursor) : Acceptable;
    }

    void fixup(QString& input) const override
    {
        if (m_next)
            m_next->fixup(input);
    }

private:
    QPointer<const QValidator> m_next;
};

QString withoutLineBreaks(QString text)
{
    text.removeIf(isLineBreak);
    return text;
}

// A validator that changes the text replaces it whole, which empties the box's undo history. The usual
// ways to paste (the keyboard and the context menu) therefore insert the cleaned text themselves, as one
// step the user can undo; the validator stays for the rest (a middle click, a drop).
class PasteCleaner : public QObject {
public:
    explicit PasteCleaner(QLineEdit* box) : QObject(box), m_box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_box || m_box->isReadOnly())
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            QMenu* menu = m_box->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
                disconnect(paste, &QAction::triggered, nullptr, nullptr);
                connect(paste, &QAction::triggered, this, &PasteCleaner::paste);
            }
            menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;
    }

private:
    void paste() { m_box->insert(withoutLineBreaks(QApplication::clipboard()->text())); }

    QLineEdit* m_box;
};

} // namespace

void stripLineBreaksWhileEditing(QLineEdit* box)
{
    box->setValidator(new LineBreakStripper(box->validator(), box));
    box->installEventFilter(new PasteCleaner(box));
}

} // namespace vorn
