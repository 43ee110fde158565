#include "common/SingleLineEdit.h"

#include <QLineEdit>
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

} // namespace

void stripLineBreaksWhileEditing(QLineEdit* box)
{
    box->setValidator(new LineBreakStripper(box->validator(), box));
}

} // namespace vorn
