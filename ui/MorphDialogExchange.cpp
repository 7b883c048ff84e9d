// The data exchange of the main dialog: ReadControls and WriteControls.
// Disabled controls take part like all others.

#include "ui/ByteLineEdit.h"
#include "ui/FlagCheckBox.h"
#include "ui/HistoryComboBox.h"
#include "ui/MorphDialog.h"

#include <QScopedValueRollback>
#include <cstdint>
#include <utility>

namespace quarvel {

namespace {

// Every flag that the check boxes show, with its box.
template <class Fn>
void forEachFlag(MorphSettings& s, const MorphControls& c, Fn&& fn)
{
    const std::pair<std::int32_t&, FlagCheckBox*> flags[] = {
        {s.PatternCase, c.patternCase}, {s.Regex, c.regex},         {s.Replace, c.replace},
        {s.Prepend, c.prepend},         {s.Append, c.append},       {s.Rename, c.rename},
        {s.Interactive, c.interactive}, {s.LowerFile, c.lowerFile}, {s.WholeWord, c.wholeWord},
        {s.LowerExt, c.lowerExt},       {s.IgnoreCR, c.ignoreCR},   {s.UnicodeCase, c.unicodeCase},
        {s.Recurse, c.recurse},         {s.CRasSpace, c.crAsSpace}, {s.Copy, c.copy},
    };
    for (const auto& [flag, box] : flags)
        fn(flag, *box);
}

} // namespace

void MorphDialog::readControls()
{
    const MorphControls& c = m_controls;
    m_settings.Mask = c.mask->editBytes();
    m_settings.Pattern = c.pattern->editBytes();
    m_settings.RepPattern = c.repPattern->bytes();
    m_settings.StartDir = c.startDir->bytes();
    m_settings.CopyDir = c.copyDir->bytes();
    forEachFlag(m_settings, c, [](std::int32_t& flag, FlagCheckBox& box) { flag = box.flag(); });
}

void MorphDialog::writeControls()
{
    const QScopedValueRollback writing(m_writingControls, true);
    const MorphControls& c = m_controls;
    c.mask->setEditBytes(m_settings.Mask);
    c.pattern->setEditBytes(m_settings.Pattern);
    c.repPattern->setBytes(m_settings.RepPattern);
    c.startDir->setBytes(m_settings.StartDir);
    c.copyDir->setBytes(m_settings.CopyDir);
    forEachFlag(m_settings, c, [](std::int32_t& flag, FlagCheckBox& box) {
        // A value the box cannot show is taken as off, and saved so.
        if (flag < 0 || flag > 2)
            flag = 0;
        box.setFlag(flag);
    });
}

} // namespace quarvel
