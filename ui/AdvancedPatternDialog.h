#pragma once

#include "ui/DialogLayout.h"

#include <QDialog>
#include <cstdint>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quarvel {

class ByteTextEdit;
class FlagCheckBox;
struct MorphSettings;

// What the advanced pattern dialog edits: copies of the main dialog's
// fields, handed back only on "OK".
struct AdvancedPatternFields
{
    std::string RepPattern;
    std::string Pattern;
    std::int32_t Prepend = 0;
    std::int32_t Replace = 0;
    std::int32_t Append = 0;
    std::int32_t PatternCase = 0;
    std::int32_t PrependAppendMode = 0; // 0 = multi-line search and replace, 1 = prepend/append
};

// "Advanced Pattern Match": edits the search and replacement texts over
// several lines, or the text to add to every file's beginning or end
// (prepend/append mode). The fields go into the controls when the dialog is
// first shown; "OK" reads them back, "Cancel", Esc and the close box read
// nothing.
class AdvancedPatternDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AdvancedPatternDialog(QWidget* parent = nullptr);

    AdvancedPatternFields& fields() { return m_fields; }
    const AdvancedPatternFields& fields() const { return m_fields; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void initialise();
    void readControls();
    void writeControls();
    void updateAdvancedMode();
    void updateReplaceField();

    AdvancedPatternFields m_fields;
    DialogLayout m_layout;
    QRadioButton* m_multiLine = nullptr;     // 1032
    QRadioButton* m_prependAppend = nullptr; // 1033
    QLabel* m_searchLabel = nullptr;
    ByteTextEdit* m_pattern = nullptr;     // 1029
    FlagCheckBox* m_patternCase = nullptr; // 1017
    QFrame* m_rule = nullptr;
    FlagCheckBox* m_replace = nullptr;    // 1011
    ByteTextEdit* m_repPattern = nullptr; // 1030
    FlagCheckBox* m_prepend = nullptr;    // 1034
    FlagCheckBox* m_append = nullptr;     // 1035
    QPushButton* m_ok = nullptr;          // 1
    QPushButton* m_cancel = nullptr;      // 2
    bool m_initialised = false;
};

// The main dialog's "Advanced" button, between its own ReadControls and
// WriteControls: shows the dialog over `parent` with the copies of
// `settings`, and on "OK" copies the results back (clearing Replace in
// prepend/append mode) and sets SearchMode to file-data mode. Returns
// whether the dialog was accepted; on any other end nothing changes.
bool exchangeAdvancedPattern(MorphSettings& settings, QWidget* parent);

// The two halves of that exchange.
AdvancedPatternFields advancedFieldsFrom(const MorphSettings& settings);
void applyAdvancedFields(const AdvancedPatternFields& fields, MorphSettings& settings);

} // namespace quarvel
