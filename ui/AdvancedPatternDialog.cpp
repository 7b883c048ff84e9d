#include "ui/AdvancedPatternDialog.h"

#include "app/MorphSettings.h"
#include "ui/ByteTextEdit.h"
#include "ui/FlagCheckBox.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace quarvel {

namespace {

constexpr int kDialogWidth = 288;
constexpr int kDialogHeight = 198;
constexpr int kRightMargin = 281;

template <class Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

AdvancedPatternDialog::AdvancedPatternDialog(QWidget* parent)
    : QDialog(parent), m_layout(this, kDialogWidth, kDialogHeight)
{
    setObjectName(QStringLiteral("advancedPatternDialog"));
    setWindowTitle(QStringLiteral("Advanced Pattern Match"));
    // Caption and system menu; no minimize box, not resizable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    createControls();
    m_layout.apply();
    // The rules follow the state, however it changed: a click, a key or a
    // screen reader's toggle action.
    for (QRadioButton* radio : {m_multiLine, m_prependAppend}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateAdvancedMode();
        });
    }
    connect(m_replace, &QCheckBox::toggled, this, [this] { updateReplaceField(); });
    connect(m_ok, &QPushButton::clicked, this, &AdvancedPatternDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &AdvancedPatternDialog::reject);
}

// The controls in tab order (the order of creation is the focus chain).
void AdvancedPatternDialog::createControls()
{
    m_multiLine =
        named(new QRadioButton(QStringLiteral("Multi-line Search && Replace"), this), "multiLine");
    m_prependAppend =
        named(new QRadioButton(QStringLiteral("Prepend / Append Mode"), this), "prependAppend");
    // Tab enters the group at the chosen button; the arrow keys choose the
    // other one.
    m_searchLabel = named(new QLabel(QStringLiteral("Search text"), this), "searchLabel");
    m_pattern = named(new ByteTextEdit(this), "pattern");
    m_searchLabel->setBuddy(m_pattern);
    m_pattern->setAccessibleName(m_searchLabel->text());
    m_patternCase = named(new FlagCheckBox(QStringLiteral("Match text case"), this), "patternCase");
    m_rule = named(new QFrame(this), "rule");
    m_rule->setFrameShape(QFrame::HLine);
    m_rule->setFrameShadow(QFrame::Sunken);
    m_replace =
        named(new FlagCheckBox(QStringLiteral("Replace search text with"), this), "replace");
    m_repPattern = named(new ByteTextEdit(this), "repPattern");
    m_repPattern->setAccessibleName(QStringLiteral("Replacement or text to add"));
    m_prepend = named(new FlagCheckBox(QStringLiteral("Prepend to file (add to beginning)"), this),
                      "prepend");
    m_append =
        named(new FlagCheckBox(QStringLiteral("Append to file (add to end)"), this), "append");
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), "ok");
    m_cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cancel");
    m_ok->setDefault(true);

    m_layout.placeText(m_multiLine, {37, 14, 103, 10}, 150);
    m_layout.placeText(m_prependAppend, {154, 14, 95, 10}, kRightMargin);
    m_layout.placeText(m_searchLabel, {7, 29, 37, 8}, kRightMargin);
    m_layout.place(m_pattern, {7, 38, 274, 49});
    m_layout.placeText(m_patternCase, {7, 88, 67, 10}, kRightMargin);
    m_layout.place(m_rule, {22, 103, 242, 1});
    m_layout.placeText(m_replace, {7, 109, 94, 10}, kRightMargin);
    m_layout.place(m_repPattern, {7, 119, 274, 49});
    m_layout.placeText(m_prepend, {7, 169, 120, 10}, 158);
    m_layout.placeText(m_append, {7, 179, 99, 10}, 158);
    m_layout.place(m_ok, {161, 177, 50, 14});
    m_layout.place(m_cancel, {215, 177, 50, 14});
}

void AdvancedPatternDialog::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        initialise();
    QDialog::showEvent(event);
}

void AdvancedPatternDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_layout.apply();
    QDialog::changeEvent(event);
}

// Runs once, before the dialog is first shown; the initial focus is left
// to the first control of the focus chain.
void AdvancedPatternDialog::initialise()
{
    m_initialised = true;
    writeControls();
    if (m_fields.PrependAppendMode == 0)
        m_multiLine->setChecked(true);
    else
        m_prependAppend->setChecked(true);
    updateAdvancedMode();
}

void AdvancedPatternDialog::writeControls()
{
    m_pattern->setBytes(m_fields.Pattern);
    m_repPattern->setBytes(m_fields.RepPattern);
    m_prepend->setFlag(m_fields.Prepend);
    m_replace->setFlag(m_fields.Replace);
    m_append->setFlag(m_fields.Append);
    m_patternCase->setFlag(m_fields.PatternCase);
}

void AdvancedPatternDialog::readControls()
{
    m_fields.Pattern = m_pattern->bytes();
    m_fields.RepPattern = m_repPattern->bytes();
    m_fields.Prepend = m_prepend->flag();
    m_fields.Replace = m_replace->flag();
    m_fields.Append = m_append->flag();
    m_fields.PatternCase = m_patternCase->flag();
}

void AdvancedPatternDialog::accept()
{
    readControls();
    QDialog::accept();
}

// Multi-line mode searches and replaces; prepend/append mode only adds the
// second text, so the search controls go grey and "Replace" is cleared.
// The add-to-file ticks are kept in either mode.
void AdvancedPatternDialog::updateAdvancedMode()
{
    const bool multiLine = m_multiLine->isChecked();
    m_pattern->setEnabled(multiLine);
    m_patternCase->setEnabled(multiLine);
    m_prepend->setEnabled(!multiLine);
    m_append->setEnabled(!multiLine);
    m_replace->setEnabled(multiLine);
    m_replace->setChecked(multiLine);
    updateReplaceField();
    m_fields.PrependAppendMode = multiLine ? 0 : 1;
}

// The second text is the replacement in multi-line mode and the text to add
// in prepend/append mode.
void AdvancedPatternDialog::updateReplaceField()
{
    m_repPattern->setEnabled(!m_multiLine->isChecked() || m_replace->isChecked());
}

AdvancedPatternFields advancedFieldsFrom(const MorphSettings& settings)
{
    AdvancedPatternFields fields;
    fields.Replace = settings.Replace;
    fields.PatternCase = settings.PatternCase;
    fields.Pattern = settings.Pattern;
    fields.RepPattern = settings.RepPattern;
    fields.PrependAppendMode = settings.PrependAppendMode;
    fields.Append = settings.Append;
    fields.Prepend = settings.Prepend;
    return fields;
}

void applyAdvancedFields(const AdvancedPatternFields& fields, MorphSettings& settings)
{
    settings.PatternCase = fields.PatternCase;
    settings.Replace = fields.Replace;
    settings.Pattern = fields.Pattern;
    settings.RepPattern = fields.RepPattern;
    settings.PrependAppendMode = fields.PrependAppendMode;
    if (settings.PrependAppendMode != 0)
        settings.Replace = 0;
    settings.Append = fields.Append;
    settings.Prepend = fields.Prepend;
    settings.SearchMode = 0; // accepting always means file-data mode
}

bool exchangeAdvancedPattern(MorphSettings& settings, QWidget* parent)
{
    AdvancedPatternDialog dialog(parent);
    dialog.fields() = advancedFieldsFrom(settings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    applyAdvancedFields(dialog.fields(), settings);
    return true;
}

} // namespace quarvel
