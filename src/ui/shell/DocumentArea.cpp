#include "DocumentArea.h"

#include <QResizeEvent>
#include <QTabBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "PlainEditor.h"
#include "common/UiText.h"
#include "shell/Documents.h"

namespace pictra::ui {

// Holds the editors; only the visible one is sized and shown. A stacked widget
// would toggle updates on every editor at each switch, which grows with the
// number of documents.
class EditorHost : public QWidget {
public:
    using QWidget::QWidget;

    void showOnly(QWidget* editor) {
        if (editor == m_current) return;
        editor->setGeometry(rect());
        editor->show();
        if (m_current) m_current->hide();
        m_current = editor;
    }
    void forget(QWidget* editor) {
        if (editor == m_current) m_current = nullptr;
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (m_current) m_current->setGeometry(rect());
    }

private:
    QWidget* m_current = nullptr;
};

DocumentArea::DocumentArea(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName("TabControl1");
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setDocumentMode(true);
    m_host = new EditorHost(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_host, 1);
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0) switchTo(index);
    });
}

bool hasVisibleText(const PlainEditor* editor) {
    for (QTextBlock b = editor->document()->begin(); b.isValid(); b = b.next()) {
        for (QChar c : b.text()) {
            if (c.unicode() > 32) return true;
        }
    }
    return false;
}

void DocumentArea::ensureDocument() {
    if (m_slots.empty()) newDocument();
}

int DocumentArea::currentIndex() {
    ensureDocument();
    return std::max(0, m_tabs->currentIndex());
}

PlainEditor* DocumentArea::currentEditor() { return currentSlot().editor; }

std::vector<std::string> DocumentArea::fileNames() const {
    std::vector<std::string> names;
    names.reserve(m_slots.size());
    for (const auto& s : m_slots) names.push_back(s.fileName);
    return names;
}

void DocumentArea::newDocument() {
    auto* editor = new PlainEditor(m_host);
    editor->hide();
    editor->setObjectName("RichEdit1");
    editor->setGuideLines(true);
    editor->setFont(m_font);
    QPalette pal = editor->palette();
    pal.setColor(QPalette::Base, m_background);
    pal.setColor(QPalette::Text, Qt::black);
    editor->setPalette(pal);
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] {
        const int index = indexOf(editor);
        if (index < 0) return;
        updateModifiedMark(index);
        emit textChanged(editor);
    });
    m_slots.push_back(DocumentSlot{editor, documents::kUnnamed, {}, {}});
    const QSignalBlocker block(m_tabs);
    m_tabs->addTab(documents::kUnnamed);
    m_tabs->setCurrentIndex(count() - 1);
    showOnly(count() - 1);
    emit documentCreated(editor);
    editor->setFocus();
}

bool DocumentArea::switchTo(int index) {
    if (index < 0 || index >= count()) return false;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    showOnly(index);
    slot(index).editor->setFocus();
    emit currentChanged();
    return true;
}

void DocumentArea::showOnly(int index) { m_host->showOnly(slot(index).editor); }

int DocumentArea::findOpen(const std::string& path) const { return documents::findOpen(fileNames(), path); }

void DocumentArea::removeDocument(int index) {
    if (index < 0 || index >= count()) return;
    PlainEditor* editor = slot(index).editor;
    m_slots.erase(m_slots.begin() + index);
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->removeTab(index);
    }
    m_host->forget(editor);
    editor->hide();
    editor->deleteLater();
    if (!m_slots.empty()) switchTo(std::max(0, index - 1));
    ensureDocument();
}

void DocumentArea::removeAllDocuments() {
    {
        const QSignalBlocker block(m_tabs);
        while (m_tabs->count() > 0) m_tabs->removeTab(0);
    }
    for (auto& s : m_slots) {
        m_host->forget(s.editor);
        s.editor->hide();
        s.editor->deleteLater();
    }
    m_slots.clear();
    newDocument();
}

QString DocumentArea::tabText(int index) const { return m_tabs->tabText(index); }

void DocumentArea::setTabText(int index, const QString& text) { m_tabs->setTabText(index, text); }

void DocumentArea::setCurrentFileName(const std::string& path) {
    const int index = currentIndex();
    const bool modified = isModified(index);
    currentSlot().fileName = path;
    setTabText(index, q(documents::tabCaption(path, modified)));
}

void DocumentArea::updateModifiedMark(int index) {
    const DocumentSlot& s = slot(index);
    setTabText(index, q(documents::tabCaption(s.fileName, hasVisibleText(s.editor))));
}

bool DocumentArea::isModified(int index) const {
    return documents::captionShowsModified(u(m_tabs->tabText(index)));
}

void DocumentArea::resetFonts(const QFont& font) {
    m_font = font;
    for (auto& s : m_slots) {
        s.editor->setFont(font);
        s.editor->document()->setDefaultFont(font);
    }
}

int DocumentArea::indexOf(const PlainEditor* editor) const {
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].editor == editor) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace pictra::ui
