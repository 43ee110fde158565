#include "calculator/EventPatternInputs.h"

#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"
#include "session/Plan.h"

#include <QComboBox>
#include <QLineEdit>

#include <string_view>

namespace vorn {

int32_t selectedData(const QComboBox* list)
{
    return list->currentIndex() < 0 ? 0 : list->currentData().toInt();
}

void addEventLengths(QComboBox* list)
{
    for (const layout::ListEntry& e : layout::listEntries())
        if (std::string_view(e.list) == "cboEventLength")
            list->addItem(QString::fromUtf8(e.text), e.itemData);
}

void followLengthChoice(const QComboBox* list, QLineEdit* days)
{
    const int32_t entry = selectedData(list);
    const bool manual = entry == CalculatorSession::kManualLength;
    if (!manual)
        days->setText(QString::number(entry));
    days->setEnabled(manual);
}

void followCoinChoice(const QComboBox* list, QLineEdit* silver)
{
    silver->setEnabled(PlanCoin(selectedData(list)) == PlanCoin::Silver);
}

} // namespace vorn
