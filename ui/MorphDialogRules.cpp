// The enabling rules of the main dialog. Enabling never changes a value.

#include "ui/ByteLineEdit.h"
#include "ui/DirectoryTree.h"
#include "ui/FlagCheckBox.h"
#include "ui/MorphDialog.h"

#include <QRadioButton>

namespace quarvel {

void MorphDialog::updateCopyControls()
{
    const bool copying = m_settings.Copy != 0;
    m_controls.copyDir->setEnabled(copying);
    m_controls.outputTree->setEnabled(copying);
}

void MorphDialog::updatePrependAppendControls()
{
    if (!m_writingControls)
        readControls();
    const bool adding = m_settings.SearchMode == 0 && m_settings.Replace == 0;
    m_controls.prepend->setEnabled(adding);
    m_controls.append->setEnabled(adding);
}

void MorphDialog::updateModeControls()
{
    m_settings.SearchMode = m_controls.fileName->isChecked() ? 1 : 0;
    const bool fileData = m_settings.SearchMode == 0;
    // An expression says word and line rules itself; case-blind Unicode
    // matching cannot keep the CR/LF rules.
    const bool literal = !m_controls.regex->isChecked();
    const bool lineRules =
        literal && (!m_controls.unicodeCase->isChecked() || m_controls.patternCase->isChecked());
    m_controls.ignoreCR->setEnabled(fileData && lineRules);
    m_controls.wholeWord->setEnabled(fileData && literal);
    m_controls.crAsSpace->setEnabled(fileData && lineRules);
    updatePrependAppendControls();
}

} // namespace quarvel
