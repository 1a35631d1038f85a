#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "html/StyleChoice.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QTextBrowser;

namespace pictra::ui {

// `Form2Font` ("Schrift und Farbe auswählen"): a piece of text wrapped in a div
// or span element with an inline style.
class StyleDialog : public QDialog {
    Q_OBJECT
public:
    explicit StyleDialog(QWidget* parent = nullptr);

    enum class Outcome { Replace, Insert, Cancelled };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        std::string text;  // UTF-8
    };
    // `chooseStyle`: the replacement of `text`, or what an insertion button inserts.
    Result chooseStyle(const std::string& text);
    html::StyleChoice choice() const;

private:
    QGroupBox* group(const char* name, const QString& title, const std::vector<std::string>& choices,
                     QButtonGroup*& buttons, int perColumn = 12);
    QString chosen(QButtonGroup* buttons) const;
    void updatePreview();

    QButtonGroup* m_size = nullptr;
    QButtonGroup* m_colour = nullptr;
    QButtonGroup* m_family = nullptr;
    QButtonGroup* m_background = nullptr;
    QButtonGroup* m_alignment = nullptr;
    QButtonGroup* m_element = nullptr;
    QGroupBox* m_elementBox = nullptr;
    QCheckBox* m_left = nullptr;
    QCheckBox* m_right = nullptr;
    QCheckBox* m_frame = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QComboBox* m_colourRow = nullptr;
    QTextBrowser* m_sample = nullptr;
    Outcome m_outcome = Outcome::Cancelled;
    std::string m_insertion;
};

}  // namespace pictra::ui
