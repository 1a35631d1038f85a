#pragma once

#include <QMainWindow>

#include "AppContext.h"

class QMenu;

namespace pictra::ui {

class SettingsDialog;

// `Form1`, the main window of the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return m_context; }

    // Shows the settings dialog with one group highlighted.
    void openSettings(int group);
    SettingsDialog* settingsDialog();

    // "Bearbeite Inidatei".
    void editSettingsFile();
    // The font of the settings for every editor.
    QFont editorFont() const;
    void resetEditorFonts();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addCommand(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                        const QKeySequence& key = {});
    void saveAtExit();

    AppContext& m_context;
    SettingsDialog* m_settingsDialog = nullptr;
    bool m_closed = false;
};

}  // namespace pictra::ui
