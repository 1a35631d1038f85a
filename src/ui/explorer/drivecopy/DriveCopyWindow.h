#pragma once

#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "explorer/drivecopy/DriveCopy.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace pictra {
class Dialogs;
}

namespace pictra::ui {

// `Form11xzuy` "Laufwerk sichern": chosen folders of one volume into a folder on
// another, bringing the copy up to date on every start.
class DriveCopyWindow : public QWidget {
    Q_OBJECT
public:
    DriveCopyWindow(Dialogs& dialogs, std::string home, std::string defaultTarget, QWidget* parent = nullptr);
    ~DriveCopyWindow() override;

    // Shows the window with the folder list of the source.
    void open();
    bool running() const { return m_worker != nullptr; }
    // Waits for a running copy (tests, closing).
    void waitForEnd();

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void sourceLeft();
    void targetLeft();
    void fillFolders();
    void start();
    void refresh();
    void ended();
    std::vector<std::string> listedFolders() const;

    Dialogs& m_dialogs;
    std::string m_home;
    std::string m_defaultTarget;
    QComboBox* m_source = nullptr;
    QLineEdit* m_target = nullptr;
    QPlainTextEdit* m_folders = nullptr;
    QLabel* m_seen = nullptr;
    QLabel* m_copied = nullptr;
    QLabel* m_sourcePath = nullptr;
    QLabel* m_targetPath = nullptr;
    QLabel* m_state = nullptr;
    QCheckBox* m_onlyNew = nullptr;
    QPushButton* m_startButton = nullptr;
    QTimer* m_timer = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    drivecopy::Progress m_progress;
    drivecopy::Report m_report;
    std::unique_ptr<std::thread> m_worker;
};

}  // namespace pictra::ui
