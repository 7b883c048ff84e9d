#include "ui/MorphDialog.h"

#include "engine/JournalingFileSystem.h"
#include "ui/AboutDialog.h"
#include "ui/AdvancedPatternDialog.h"
#include "ui/DirectoryTree.h"
#include "ui/FlagCheckBox.h"
#include "ui/HistoryComboBox.h"
#include "ui/RunInputBlocker.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace quarvel {

namespace {

constexpr int kDialogWidth = 337;
constexpr int kDialogHeight = 226;

} // namespace

MorphDialog::MorphDialog(FileSystem& fs, QWidget* parent, UrlOpener* opener)
    : QDialog(parent), m_fs(fs), m_settings(defaultSettings()),
      m_layout(this, kDialogWidth, kDialogHeight), m_controls(createMorphControls(this, m_layout)),
      m_maskList(*m_controls.mask), m_patternList(*m_controls.pattern),
      m_link(*this, opener != nullptr ? *opener : m_desktopOpener), m_run(*this, *this, m_log),
      m_preview(
          *this, fs, [this](int position) { showRunProgress(position); },
          [this] { previewEnded(); })
{
    setObjectName(QStringLiteral("morphDialog"));
    setWindowTitle(QStringLiteral("File Morph Utility"));
    // Caption, system menu and minimize box; no maximize box, no sizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_layout.apply();
    connectEvents();
    createActions();
}

MorphDialog::~MorphDialog() = default;

void MorphDialog::connectEvents()
{
    const MorphControls& c = m_controls;
    // The enabling rules follow the state, however it changed: a click, a
    // key, a screen reader's toggle action, or the data exchange itself.
    connect(c.copy, &QCheckBox::toggled, this, [this] {
        if (!m_writingControls)
            readControls();
        updateCopyControls();
    });
    for (FlagCheckBox* box : {c.replace, c.prepend, c.append})
        connect(box, &QCheckBox::toggled, this, [this] { updatePrependAppendControls(); });
    for (FlagCheckBox* box : {c.regex, c.unicodeCase, c.patternCase})
        connect(box, &QCheckBox::toggled, this, [this] { updateModeControls(); });
    for (QRadioButton* radio : {c.fileName, c.fileData}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateModeControls();
        });
    }
    connect(c.advanced, &QPushButton::clicked, this, &MorphDialog::showAdvancedDialog);
    connect(c.morphFiles, &QPushButton::clicked, this, &MorphDialog::morphFiles);
    connect(c.viewLog, &QPushButton::clicked, this, &MorphDialog::viewLog);
    connect(c.close, &QPushButton::clicked, this, &MorphDialog::reject);
    // Selecting, expanding or collapsing an item chooses its folder.
    for (auto signal : {&DirectoryTree::folderSelected, &DirectoryTree::folderExpanded,
                        &DirectoryTree::folderCollapsed}) {
        connect(c.startTree, signal, this, &MorphDialog::startFolderChosen);
        connect(c.outputTree, signal, this, &MorphDialog::outputFolderChosen);
    }
}

void MorphDialog::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        initialise();
    QDialog::showEvent(event);
}

// Runs once, after the stored settings are in and before the window is
// first shown. The initial focus is left to the first control of the focus
// chain, the mask box.
void MorphDialog::initialise()
{
    m_initialised = true;
    writeControls(); // the first data exchange, as every dialog starts with
    updateCopyControls();
    fillFolderTrees();
    SplitHistory(m_settings.Mask, m_maskHistory, m_maskList);
    SplitHistory(m_settings.Pattern, m_patternHistory, m_patternList);
    writeControls();
    if (m_settings.SearchMode != 0)
        m_controls.fileName->setChecked(true);
    else
        m_controls.fileData->setChecked(true);
    updateModeControls();
    m_controls.progress->setVisible(false);
}

void MorphDialog::fillFolderTrees()
{
    m_controls.startTree->fillRoots(m_fs);
    m_controls.outputTree->fillRoots(m_fs);
}

void MorphDialog::startFolderChosen(const std::string& path)
{
    readControls();
    m_settings.StartDir = path;
    writeControls();
}

void MorphDialog::outputFolderChosen(const std::string& path)
{
    readControls();
    m_settings.CopyDir = path;
    writeControls();
}

// Accepting the advanced dialog always leaves the main dialog in file-data
// mode, showing the texts and ticks chosen there.
void MorphDialog::showAdvancedDialog()
{
    readControls();
    if (!exchangeAdvancedPattern(m_settings, this))
        return;
    // The controls first: choosing the mode applies the rules, which read
    // them.
    writeControls();
    m_controls.fileData->setChecked(true);
    updateModeControls();
}

void MorphDialog::showAboutBox()
{
    AboutDialog about(this);
    about.exec();
}

void MorphDialog::reject()
{
    if (m_running)
        return;
    closeSequence();
    QDialog::reject();
}

void MorphDialog::finishSession()
{
    if (m_initialised)
        closeSequence();
}

// ReadControls, then both histories joined back into their stored form: a
// mask or pattern typed but never used in a run is not remembered.
void MorphDialog::closeSequence()
{
    if (m_closed)
        return;
    m_closed = true;
    readControls();
    m_settings.Mask = JoinHistory(m_maskHistory);
    m_settings.Pattern = JoinHistory(m_patternHistory);
}

void MorphDialog::changeEvent(QEvent* event)
{
    // The rectangles are in dialog units of the dialog's font.
    if (event->type() == QEvent::FontChange)
        m_layout.apply();
    QDialog::changeEvent(event);
}

// The stand-in for the window's system menu: a context menu on the dialog's
// own surface, also reached from the controls that have no menu of their
// own. The Menu key and Shift+F10 open it too where the window system does
// not turn them into a context menu request itself.
void MorphDialog::contextMenuEvent(QContextMenuEvent* event)
{
    openContextMenu(event->globalPos());
}

void MorphDialog::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QDialog::keyPressEvent(event);
        return;
    }
    const QWidget* focus = focusWidget() != nullptr ? focusWidget() : this;
    openContextMenu(focus->mapToGlobal(focus->rect().center()));
}

void MorphDialog::openContextMenu(const QPoint& globalPosition)
{
    if (m_running)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu"));
    populateContextMenu(menu);
    menu.exec(globalPosition);
}

// The system menu's items: Close, then after a separator "Preview", "Undo
// Last Run" and "&About Quarvel...".
void MorphDialog::populateContextMenu(QMenu& menu)
{
    QAction* close = menu.addAction(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("closeAction"));
    connect(close, &QAction::triggered, this, &MorphDialog::reject);
    menu.addSeparator();
    menu.addAction(m_previewAction);
    menu.addAction(m_undoAction);
    QAction* about = menu.addAction(QStringLiteral("&About Quarvel..."));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MorphDialog::showAboutBox);
}

void MorphDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    m_link.paint(painter);
}

// Only moves over the dialog's own surface count for the link, not those
// that reach it from a child control.
void MorphDialog::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    m_link.mouseMoved(point, childAt(point) == nullptr);
    QDialog::mouseMoveEvent(event);
}

void MorphDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_link.leftButtonReleased();
    QDialog::mouseReleaseEvent(event);
}

} // namespace quarvel
