#include "app/frame_actions.h"

#include "app/tree_icons.h"
#include "config/model_info.h"
#include "document/edit_commands.h"
#include "document/lumivant_doc.h"
#include "model/object_kind.h"
#include "model/screen.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>

namespace {

constexpr auto kNoKey = QKeySequence::UnknownKey;
constexpr EnableRule kAlways = EnableRule::Always;
constexpr EnableRule kFull = EnableRule::FullModel;

const std::vector<CommandInfo> kCommands = {
    {IdFileNew, QT_TRANSLATE_NOOP("CMainFrame", "&New"), QT_TRANSLATE_NOOP("CMainFrame", "New"),
     "new", kAlways, QKeySequence::New},
    {IdFileOpen, QT_TRANSLATE_NOOP("CMainFrame", "&Open..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Open"), "open", kAlways, QKeySequence::Open},
    {IdFileSave, QT_TRANSLATE_NOOP("CMainFrame", "&Save"), QT_TRANSLATE_NOOP("CMainFrame", "Save"),
     "save", kAlways, QKeySequence::Save},
    {IdFileSaveAs, QT_TRANSLATE_NOOP("CMainFrame", "Save &As..."), nullptr, nullptr, kAlways,
     QKeySequence::SaveAs},
    {IdRestoreVersion, QT_TRANSLATE_NOOP("CMainFrame", "Restore Earlier &Version..."), nullptr,
     nullptr, EnableRule::HasFile, kNoKey},
    {IdExit, QT_TRANSLATE_NOOP("CMainFrame", "E&xit"), nullptr, nullptr, kAlways,
     QKeySequence::Quit},
    {IdUndo, QT_TRANSLATE_NOOP("CMainFrame", "&Undo"), nullptr, nullptr, EnableRule::CanUndo,
     QKeySequence::Undo},
    {IdRedo, QT_TRANSLATE_NOOP("CMainFrame", "&Redo"), nullptr, nullptr, EnableRule::CanRedo,
     QKeySequence::Redo},
    {IdAddProgram, QT_TRANSLATE_NOOP("CMainFrame", "Add Program"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Program"), "kind:1", kAlways, kNoKey},
    {IdAddWindow, QT_TRANSLATE_NOOP("CMainFrame", "Add Window"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Window"), "kind:10", kAlways, kNoKey},
    {IdAddText, QT_TRANSLATE_NOOP("CMainFrame", "Add RTF"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add RTF"), "kind:2", kAlways, kNoKey},
    {IdAddImage, QT_TRANSLATE_NOOP("CMainFrame", "Add Image"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Image"), "kind:5", kAlways, kNoKey},
    {IdAddClock, QT_TRANSLATE_NOOP("CMainFrame", "Add Clock"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Clock"), "kind:3", kFull, kNoKey},
    {IdAddDateTime, QT_TRANSLATE_NOOP("CMainFrame", "Add Datetime"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Datetime"), "kind:4", kFull, kNoKey},
    {IdAddAnimate, QT_TRANSLATE_NOOP("CMainFrame", "Add Animate"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Animate"), "kind:6", kAlways, kNoKey},
    {IdAddTemperature, QT_TRANSLATE_NOOP("CMainFrame", "Add Temperature"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Temperature"), "kind:8", kFull, kNoKey},
    {IdAddCountdown, QT_TRANSLATE_NOOP("CMainFrame", "Add Countdown"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Countdown"), "kind:9", kFull, kNoKey},
    {IdAddTable, QT_TRANSLATE_NOOP("CMainFrame", "Add Table"),
     QT_TRANSLATE_NOOP("CMainFrame", "Add Table"), "kind:7", kAlways, kNoKey},
    {IdDelete, QT_TRANSLATE_NOOP("CMainFrame", "Delete Current Object"),
     QT_TRANSLATE_NOOP("CMainFrame", "Delete"), "delete", EnableRule::CanDelete,
     QKeySequence::Delete},
    {IdMoveUp, QT_TRANSLATE_NOOP("CMainFrame", "Move up"),
     QT_TRANSLATE_NOOP("CMainFrame", "Move Up"), "up", EnableRule::CanMoveUp, kNoKey},
    {IdMoveDown, QT_TRANSLATE_NOOP("CMainFrame", "Move down"),
     QT_TRANSLATE_NOOP("CMainFrame", "Move Down"), "down", EnableRule::CanMoveDown, kNoKey},
    {IdExport, QT_TRANSLATE_NOOP("CMainFrame", "Export To USB Disk (*.rzu)..."),
     QT_TRANSLATE_NOOP("CMainFrame", "Export"), "export", kAlways, kNoKey},
    {IdSendAll, QT_TRANSLATE_NOOP("CMainFrame", "Send All Selected To Panel"),
     QT_TRANSLATE_NOOP("CMainFrame", "Send All"), "send", kAlways, kNoKey},
    {IdSendSelected, QT_TRANSLATE_NOOP("CMainFrame", "Send Sel"),
     QT_TRANSLATE_NOOP("CMainFrame", "Send Selected"), "send", kAlways, kNoKey},
    {IdSearchPanel, QT_TRANSLATE_NOOP("CMainFrame", "Search Panel"),
     QT_TRANSLATE_NOOP("CMainFrame", "Search"), "search", kAlways, kNoKey},
    {IdPanelSetup, QT_TRANSLATE_NOOP("CMainFrame", "Panel Setup..."), nullptr, nullptr, kAlways,
     kNoKey},
    {IdAdvancedSetup, QT_TRANSLATE_NOOP("CMainFrame", "Advanced Setup..."), nullptr, nullptr,
     kAlways, kNoKey},
    {IdCommunicationSetup, QT_TRANSLATE_NOOP("CMainFrame", "Communication Setup..."), nullptr,
     nullptr, kAlways, kNoKey},
    {IdSyncTimer, QT_TRANSLATE_NOOP("CMainFrame", "Sync Timer"),
     QT_TRANSLATE_NOOP("CMainFrame", "Sync Timer"), "sync", kFull, kNoKey},
    {IdBrightness, QT_TRANSLATE_NOOP("CMainFrame", "Adjust Brightness..."), nullptr, nullptr,
     kAlways, kNoKey},
    {IdPowerOnOff, QT_TRANSLATE_NOOP("CMainFrame", "Set Panel On/Off..."), nullptr, nullptr,
     kAlways, kNoKey},
    {IdParameterReset, QT_TRANSLATE_NOOP("CMainFrame", "Panel Parameter Reset"), nullptr, nullptr,
     kAlways, kNoKey},
    {IdFirmwareUpdate, QT_TRANSLATE_NOOP("CMainFrame", "Firmware Update..."), nullptr, nullptr,
     kAlways, kNoKey},
    {IdClearPanel, QT_TRANSLATE_NOOP("CMainFrame", "Clear Panel"), nullptr, nullptr, kAlways,
     kNoKey},
    {IdLangAuto, QT_TRANSLATE_NOOP("CMainFrame", "Auto"), nullptr, nullptr, kAlways, kNoKey},
    {IdLangSimplified, QT_TRANSLATE_NOOP("CMainFrame", "Simplified Chinese"), nullptr, nullptr,
     kAlways, kNoKey},
    {IdLangTraditional, QT_TRANSLATE_NOOP("CMainFrame", "Traditional Chinese"), nullptr, nullptr,
     kAlways, kNoKey},
    {IdLangEnglish, QT_TRANSLATE_NOOP("CMainFrame", "English"), nullptr, nullptr, kAlways, kNoKey},
    {IdLangPortuguese, QT_TRANSLATE_NOOP("CMainFrame", "Portuguese (Brazil)(PTB)"), nullptr,
     nullptr, kAlways, kNoKey},
    {IdLangTurkish, QT_TRANSLATE_NOOP("CMainFrame", "Turkish"), nullptr, nullptr, kAlways, kNoKey},
    {IdOptions, QT_TRANSLATE_NOOP("CMainFrame", "Options..."), nullptr, "setup", kAlways, kNoKey},
    {IdViewToolbar, QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"), nullptr, nullptr, kAlways, kNoKey},
    {IdViewStatus, QT_TRANSLATE_NOOP("CMainFrame", "&Status Bar"), nullptr, nullptr, kAlways,
     kNoKey},
    {IdZoomToFit, QT_TRANSLATE_NOOP("CMainFrame", "Zoom to &Fit"), nullptr, nullptr,
     EnableRule::PreviewShowsProgram, kNoKey},
    {IdDesignerColours, QT_TRANSLATE_NOOP("CMainFrame", "Show &Designer Colours"), nullptr, nullptr,
     kAlways, kNoKey},
    {IdLedLook, QT_TRANSLATE_NOOP("CMainFrame", "&LED Look (from Zoom 4/1)"), nullptr, nullptr,
     EnableRule::ZoomShowsDots, kNoKey},
    {IdWarnings, QT_TRANSLATE_NOOP("CMainFrame", "&Warnings"), nullptr, nullptr, kAlways, kNoKey},
    {IdDeliveryHistory, QT_TRANSLATE_NOOP("CMainFrame", "Delivery &History..."), nullptr, nullptr,
     kAlways, kNoKey},
    {IdAbout, QT_TRANSLATE_NOOP("CMainFrame", "&About Lumivant..."), nullptr, "about", kAlways,
     kNoKey},
};

const int kLanguageCommands[] = {IdLangAuto,    IdLangSimplified, IdLangTraditional,
                                 IdLangEnglish, IdLangPortuguese, IdLangTurkish};

QString Translated(const char* text)
{
    return QCoreApplication::translate("CMainFrame", text);
}

QIcon IconOf(const CommandInfo& command)
{
    if (!command.icon)
        return {};
    const QString name = QString::fromLatin1(command.icon);
    if (name.startsWith(QLatin1String("kind:")))
        return AddIcon(name.mid(5).toInt());
    return CommandIcon(name);
}

} // namespace

bool IsBasicScreen(const CScreen& screen)
{
    CModelInfo info;
    info.AssignFromIdentity(screen.Identity());
    return info.IsBasicModel();
}

CFrameActions::CFrameActions(QObject* parent) : QObject(parent), m_languages(new QActionGroup(this))
{
    for (const CommandInfo& command : kCommands) {
        auto* action = new QAction(this);
        action->setData(command.id);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setIcon(IconOf(command));
        if (command.key != kNoKey)
            action->setShortcut(QKeySequence(command.key));
        connect(action, &QAction::triggered, this, [this, id = command.id] { emit triggered(id); });
        m_actions[command.id] = action;
    }
    for (int id : kLanguageCommands) {
        m_actions[id]->setCheckable(true);
        m_languages->addAction(m_actions[id]);
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(this);
        action->setData(IdRecentFile1 + i);
        action->setObjectName(QStringLiteral("command%1").arg(IdRecentFile1 + i));
        action->setVisible(false);
        connect(action, &QAction::triggered, this,
                [this, i] { emit triggered(IdRecentFile1 + i); });
        m_actions[IdRecentFile1 + i] = action;
    }
    for (int id : {IdViewToolbar, IdViewStatus, IdDesignerColours, IdLedLook, IdWarnings})
        m_actions[id]->setCheckable(true);
    m_actions[IdViewToolbar]->setChecked(true);
    m_actions[IdViewStatus]->setChecked(true);
    // Send Selected is not offered.
    m_actions[IdSendSelected]->setVisible(false);
    Retranslate();
}

CFrameActions::~CFrameActions() = default;

const std::vector<CommandInfo>& CFrameActions::Commands()
{
    return kCommands;
}

const CommandInfo* CFrameActions::Find(int id)
{
    for (const CommandInfo& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

int CFrameActions::LanguageOf(int id)
{
    for (int lang = 0; lang < 6; ++lang) {
        if (kLanguageCommands[lang] == id)
            return lang;
    }
    return -1;
}

QAction* CFrameActions::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CFrameActions::Retranslate()
{
    for (const CommandInfo& command : kCommands) {
        QAction* action = m_actions[command.id];
        action->setText(Translated(command.menuText));
        action->setIconText(command.shortText ? Translated(command.shortText)
                                              : Translated(command.menuText));
        action->setToolTip(Translated(command.menuText).remove(u'&'));
    }
    RelabelUndo();
}

void CFrameActions::RelabelUndo()
{
    // "Undo Delete Text1": the step's own label after the command's.
    const auto relabel = [this](int id, const QString& step) {
        QAction* action = m_actions[id];
        const QString base = Translated(Find(id)->menuText);
        action->setText(step.isEmpty() ? base : base + u' ' + step);
        action->setToolTip(action->text().remove(u'&'));
    };
    relabel(IdUndo, m_undoText);
    relabel(IdRedo, m_redoText);
}

void CFrameActions::UpdateEnabling(CLumivantDoc& doc, const FrameViewState& view)
{
    const bool previewRunning = view.previewRunning;
    const CScreen* currentScreen = doc.CurrentScreen();
    const bool full = currentScreen && !IsBasicScreen(*currentScreen);
    for (const CommandInfo& command : kCommands) {
        bool enabled = true;
        switch (command.rule) {
        case EnableRule::Always:
            break;
        case EnableRule::FullModel:
            enabled = full;
            break;
        case EnableRule::CanDelete:
            enabled = CanDeleteCurrentObject(doc);
            break;
        case EnableRule::CanMoveUp:
            enabled = CanMoveCurrentObject(doc, true);
            break;
        case EnableRule::CanMoveDown:
            enabled = CanMoveCurrentObject(doc, false);
            break;
        case EnableRule::CanUndo:
            enabled = doc.UndoStack().canUndo();
            break;
        case EnableRule::CanRedo:
            enabled = doc.UndoStack().canRedo();
            break;
        case EnableRule::HasFile:
            enabled = !doc.FilePath().isEmpty();
            break;
        case EnableRule::PreviewShowsProgram:
            enabled = view.previewShowsProgram;
            break;
        case EnableRule::ZoomShowsDots:
            enabled = view.zoomShowsDots;
            break;
        }
        m_actions[command.id]->setEnabled(enabled && !previewRunning);
    }
    const QString undoText = doc.UndoStack().canUndo() ? doc.UndoStack().undoText() : QString();
    const QString redoText = doc.UndoStack().canRedo() ? doc.UndoStack().redoText() : QString();
    if (undoText != m_undoText || redoText != m_redoText) {
        m_undoText = undoText;
        m_redoText = redoText;
        RelabelUndo();
    }
    for (int i = 0; i < kRecentFileCount; ++i)
        m_actions[IdRecentFile1 + i]->setEnabled(!previewRunning);
}

void CFrameActions::CheckLanguage(int lang)
{
    const int index = lang >= 0 && lang < 6 ? lang : 0;
    m_actions[kLanguageCommands[index]]->setChecked(true);
}
