// Whole-process measurements of the plain-text editor on QScintilla against the
// program's current editor widget, each in a bare window of its own:
//   qsci_bench show      EDITOR FILE         the text in a window captioned with the
//                                            file's name, until the process is killed
//                                            (for window_shown.sh: load time, peak memory)
//   qsci_bench keystroke EDITOR FILE         median milliseconds of a letter typed at
//                                            the end until the editor has painted it
//   qsci_bench replace   EDITOR FILE TERM BY milliseconds of the replace-all command
//                                            through the editor port until painted,
//                                            and whether one undo restores the text
// EDITOR is `current` (the program's widget), `qsci` or `qsci-nostyles` (no style
// byte per character; paints only as coloured text).
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "QsciEditorView.h"
#include "QuietDialogs.h"
#include "common/UiText.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "shell/editing/Search.h"

namespace {

using namespace pictra;

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return std::move(buffer).str();
}

// One editor widget with its port, filled as the program fills a document on loading.
class Subject {
public:
    virtual ~Subject() = default;
    virtual QWidget& widget() = 0;
    virtual QWidget& viewport() = 0;
    virtual EditorView& view() = 0;
    virtual void load(const std::string& cp1252) = 0;
    virtual void undo() = 0;
    virtual long textLength() = 0;
};

class CurrentEditor : public Subject {
public:
    CurrentEditor() {
        m_editor.setFont(QFont("Courier New", 10));
        // Typing at the end of a long text is what is measured, not the refusal of the key.
        m_editor.setMaxLength(INT_MAX);
    }
    QWidget& widget() override { return m_editor; }
    QWidget& viewport() override { return *m_editor.viewport(); }
    EditorView& view() override { return m_view; }
    void load(const std::string& cp1252) override {
        m_editor.setPlainText(ui::fromCp1252Lines(cp1252));
        m_editor.moveCursor(QTextCursor::Start);
        m_editor.setFocus();
    }
    void undo() override { m_editor.undo(); }
    long textLength() override { return m_editor.document()->characterCount() - 1; }

private:
    ui::PlainEditor m_editor;
    ui::QtEditorView m_view{m_editor};
};

class ScintillaEditor : public Subject {
public:
    explicit ScintillaEditor(bool withStyles) { bench::setUpPlainEditor(m_editor, QFont("Courier New", 10), withStyles); }
    QWidget& widget() override { return m_editor; }
    QWidget& viewport() override { return *m_editor.viewport(); }
    EditorView& view() override { return m_view; }
    void load(const std::string& cp1252) override {
        m_view.load(cp1252);
        m_editor.setFocus();
    }
    void undo() override { m_editor.undo(); }
    long textLength() override { return m_editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH); }

private:
    QsciScintilla m_editor;
    bench::QsciEditorView m_view{m_editor};
};

std::unique_ptr<Subject> makeSubject(const std::string& name) {
    if (name == "current") return std::make_unique<CurrentEditor>();
    if (name == "qsci") return std::make_unique<ScintillaEditor>(true);
    if (name == "qsci-nostyles") return std::make_unique<ScintillaEditor>(false);
    throw std::runtime_error("unknown editor " + name);
}

void showAndSettle(QWidget& window) {
    window.resize(1000, 700);
    window.show();
    QElapsedTimer timer;
    timer.start();
    while (!window.isVisible() || timer.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int keystrokes(Subject& subject) {
    showAndSettle(subject.widget());
    subject.view().setCaret(INT_MAX);
    subject.widget().setFocus();
    QApplication::processEvents();
    const long before = subject.textLength();
    constexpr int kKeys = 200;
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < kKeys; ++i) {
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(&subject.widget(), &press);
        QApplication::sendEvent(&subject.widget(), &release);
        subject.viewport().repaint();
        QApplication::processEvents();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    if (subject.textLength() != before + kKeys) {
        std::fprintf(stderr, "keystroke: %ld characters typed instead of %d\n", subject.textLength() - before, kKeys);
        return 1;
    }
    std::printf("%.2f\n", median(times));
    return 0;
}

class ReplaceBar : public search::SearchBar {
public:
    ReplaceBar(std::string term, std::string by) : m_term(std::move(term)), m_by(std::move(by)) {}
    std::string term() const override { return m_term; }
    std::string replacement() const override { return m_by; }
    bool matchCase() const override { return false; }
    void setMatchCase(bool) override {}
    bool bigHits() const override { return false; }
    void showBar(bool) override {}
    void termSearched() override {}
    void showNotice(const std::string&) override {}
    void showStatusBar() override {}
    void beep() override {}

private:
    std::string m_term;
    std::string m_by;
};

class YesToReplaceAll : public bench::QuietDialogs {
public:
    Answer ask(const std::string& question) override {
        return question == search::kAskReplaceAll ? Answer::Yes : Answer::No;
    }
};

int replaceAll(Subject& subject, const std::string& term, const std::string& by) {
    showAndSettle(subject.widget());
    const std::string original = subject.view().plainText();
    ReplaceBar bar(term, by);
    YesToReplaceAll dialogs;
    std::vector<double> times;
    bool oneStep = true;
    QElapsedTimer timer;
    for (int round = 0; round < 5; ++round) {
        search::SearchSession session;
        timer.start();
        session.replace(subject.view(), bar, dialogs);
        subject.viewport().repaint();
        QApplication::processEvents();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (subject.view().plainText() == original) {
            std::fprintf(stderr, "replace: nothing replaced\n");
            return 1;
        }
        subject.undo();
        QApplication::processEvents();
        oneStep = oneStep && subject.view().plainText() == original;
    }
    std::printf("%.1f %s\n", median(times), oneStep ? "one-undo-step" : "NOT-one-undo-step");
    return oneStep ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    bench::avoidCountingAccessibility();
    if (argc < 4) {
        std::fprintf(stderr, "usage: qsci_bench show|keystroke|replace current|qsci|qsci-nostyles FILE [TERM BY]\n");
        return 2;
    }
    try {
        const std::string mode = argv[1];
        std::unique_ptr<Subject> subject = makeSubject(argv[2]);
        subject->load(readFile(argv[3]));
        if (mode == "show") {
            subject->widget().setWindowTitle(QFileInfo(argv[3]).fileName() + " - qsci_bench " + argv[2]);
            subject->widget().resize(1000, 700);
            subject->widget().show();
            return QApplication::exec();
        }
        if (mode == "keystroke") return keystrokes(*subject);
        if (mode == "replace" && argc == 6) return replaceAll(*subject, argv[4], argv[5]);
        std::fprintf(stderr, "unknown mode %s\n", argv[1]);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qsci_bench: %s\n", e.what());
        return 1;
    }
}
