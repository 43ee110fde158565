#pragma once

#include "common/Prompter.h"

class QWidget;

namespace vorn {

// Shows the boxes as QMessageBox and QInputDialog, modal to the application and centred over the
// parent's window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void message(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    std::string input(const std::string& prompt) override;
    SaveAnswer askSaveChanges(const std::string& name) override;
    OverwriteAnswer askOverwriteChanged(const std::string& name) override;
    RecoverAnswer askRecover(const std::string& date) override;
    ReloadAnswer askReload(const std::string& name, bool discardsUnsaved) override;
    SaveFailedAnswer tellSaveFailed(const std::string& text) override;
    std::string chooseFileToOpen() override;
    std::string chooseFileToSave(const std::string& suggested) override;
    std::string chooseCsvToOpen(const std::string& title) override;
    std::string chooseCsvToSave(const std::string& title, const std::string& suggested) override;
    std::string chooseFolder(const std::string& title, const std::string& start) override;

private:
    QWidget* m_parent;
};

} // namespace vorn
