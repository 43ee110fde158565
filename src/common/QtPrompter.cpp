#include "common/QtPrompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace vorn {
namespace {

// Messages break their lines with CR LF; a Qt label shows a bare LF as the break.
QString displayed(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void QtPrompter::message(const std::string& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    QString::fromUtf8(kBoxTitle), displayed(text), QMessageBox::Ok, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::string QtPrompter::input(const std::string& prompt)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(QString::fromUtf8(kBoxTitle));
    dialog.setLabelText(displayed(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

} // namespace vorn
