#pragma once

#include "session/EventBatch.h"
#include "session/RecordEventForm.h"

#include <QDialog>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vorn {

class Prompter;
class RecordPreviewModel;
struct RosterEntry;

// The Record Event dialog of the Roster window: the event's length, training coin, blankets, date, name
// and note, and a preview of what recording it does to each character chosen, worked out as it would be
// recorded (recordEvent). Apply hands the event back only when every character can take it and one at
// least doesn't hold it yet; the roster then records it in the files themselves.
class frmRecordEvent : public QDialog {
public:
    // `chosen` stay as they are while the dialog is open. Without a prompter the dialog shows real
    // message boxes over itself; tests pass a scripted one.
    frmRecordEvent(std::vector<const RosterEntry*> chosen, const RecordEventRequest& start,
                   Prompter* prompter, QWidget* parent = nullptr);
    ~frmRecordEvent() override;

    // Once accepted: the event to record, and the inputs it came from, for the next time.
    const BatchEvent& event() const { return m_event; }
    RecordEventRequest request() const;

private:
    void createInputs();
    void createPreview();
    void arrange();
    void connectHandlers();
    void showRequest(const RecordEventRequest& start);

    QLineEdit* box(RecordEventBox which) const;
    void cboRecordLength_Click();
    void cboRecordCoin_Click();
    void updatePreview();
    void cmdRecordApply_Click();

    std::vector<const RosterEntry*> m_chosen;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    BatchEvent m_event;

    QComboBox* cboRecordLength = nullptr;
    QLineEdit* txtRecordLength = nullptr;
    QComboBox* cboRecordCoin = nullptr;
    QLineEdit* txtRecordSilver = nullptr;
    QLineEdit* txtRecordBlankets = nullptr;
    QLineEdit* txtRecordDate = nullptr;
    QLineEdit* txtRecordEvent = nullptr;
    QLineEdit* txtRecordNote = nullptr;
    QLabel* lblRecordSummary = nullptr;
    QTableView* tblRecordPreview = nullptr;
    RecordPreviewModel* m_preview = nullptr;
    QPushButton* cmdRecordApply = nullptr;
    QPushButton* cmdRecordCancel = nullptr;
};

} // namespace vorn
