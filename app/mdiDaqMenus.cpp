// The main window's menu bar. Captions carry an '&' before the letter that Alt
// reaches; the visible caption is unchanged (the letter is only underlined). The
// shortcuts are those of most desktop programs, shown beside their items.

#include <QMenuBar>

#include "app/mdiDaq.h"

namespace vantrel {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

QAction* withShortcut(QAction* item, QKeyCombination keys) {
    item->setShortcut(QKeySequence(keys));
    return item;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

void mdiDaq::buildMenus() {
    QMenuBar* bar = menuBar();

    File = addMenu(bar, "File", tr("&File"));
    FileOpenLog =
        withShortcut(addItem(File, "FileOpenLog", tr("&Open Log...")), Qt::CTRL | Qt::Key_O);
    FileSave = withShortcut(addItem(File, "FileSave", tr("&Save")), Qt::CTRL | Qt::Key_S);
    FileSave->setCheckable(true);
    FileExit = withShortcut(addItem(File, "FileExit", tr("E&xit")), Qt::CTRL | Qt::Key_Q);

    View = addMenu(bar, "View", tr("&View"));
    ViewAnalogData = addItem(View, "ViewAnalogData", tr("&Analog Data"));
    ViewDigitalData = addItem(View, "ViewDigitalData", tr("&Digital Data"));
    sv2 = addSeparator(View, "sv2");
    ViewTrend = addItem(View, "ViewTrend", tr("&Trend"));
    ViewHistory = addItem(View, "ViewHistory", tr("&History"));
    ViewAlarms = addItem(View, "ViewAlarms", tr("A&larms"));
    sv1 = addSeparator(View, "sv1");
    ViewStatus = addItem(View, "ViewStatus", tr("&Status"));

    Task = addMenu(bar, "Task", tr("&Task"));
    TaskStart = withShortcut(addItem(Task, "TaskStart", tr("&Start")), Qt::Key_F5);
    TaskStop = withShortcut(addItem(Task, "TaskStop", tr("S&top")), Qt::SHIFT | Qt::Key_F5);
    TaskStop->setEnabled(false);
    st1 = addSeparator(Task, "st1");
    TaskManager = addItem(Task, "TaskManager", tr("Task &Manager"));
    TaskAddMarker = addItem(Task, "TaskAddMarker", tr("Add Mar&ker..."));
    TaskAddMarker->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));

    Options = addMenu(bar, "Options", tr("&Options"));
    OptionsCardConfig[0] = addItem(Options, "OptionsCardConfig_0", tr("Card &1 Configuration"));
    OptionsCardConfig[1] = addItem(Options, "OptionsCardConfig_1", tr("Card &2 Configuration"));
    OptionsCardComm = addItem(Options, "OptionsCardComm", tr("Card C&ommunication"));
    so1 = addSeparator(Options, "so1");
    OptionsSettings = addItem(Options, "OptionsSettings", tr("&Settings"));
    OptionsCalibrate[0] = addItem(Options, "OptionsCalibrate_0", tr("Card 1 C&alibration"));
    OptionsCalibrate[1] = addItem(Options, "OptionsCalibrate_1", tr("Card 2 Ca&libration"));

    Window = addMenu(bar, "Window", tr("&Window"));
    WindowCascade = addItem(Window, "WindowCascade", tr("&Cascade"));
    WindowTile = addItem(Window, "WindowTile", tr("&Tile"));
    WindowClose = withShortcut(addItem(Window, "WindowClose", tr("Cl&ose")), Qt::CTRL | Qt::Key_F4);
    WindowCloseAll = addItem(Window, "WindowCloseAll", tr("Close &All"));
    sw1 = addSeparator(Window, "sw1");

    Help = addMenu(bar, "Help", tr("&Help"));
    HelpContents = withShortcut(addItem(Help, "HelpContents", tr("&Contents")), Qt::Key_F1);
    HelpAbout = addItem(Help, "HelpAbout", tr("&About"));
}

void mdiDaq::connectMenus() {
    connect(FileOpenLog, &QAction::triggered, this, &mdiDaq::FileOpenLog_Click);
    connect(FileSave, &QAction::triggered, this, &mdiDaq::FileSave_Click);
    // Logging resumed after a restart starts without the save options window.
    connect(File, &QMenu::aboutToShow, this, [this] { FileSave->setChecked(state_.Saving); });
    connect(FileExit, &QAction::triggered, this, &mdiDaq::FileExit_Click);
    connect(ViewAnalogData, &QAction::triggered, this, &mdiDaq::ViewAnalogData_Click);
    connect(ViewDigitalData, &QAction::triggered, this, &mdiDaq::ViewDigitalData_Click);
    connect(ViewTrend, &QAction::triggered, this, &mdiDaq::ViewTrend_Click);
    connect(ViewHistory, &QAction::triggered, this, &mdiDaq::ViewHistory_Click);
    connect(ViewStatus, &QAction::triggered, this, &mdiDaq::ViewStatus_Click);
    connect(ViewAlarms, &QAction::triggered, this, &mdiDaq::ViewAlarms_Click);
    connect(TaskAddMarker, &QAction::triggered, this, &mdiDaq::TaskAddMarker_Click);
    connect(TaskStart, &QAction::triggered, this, &mdiDaq::TaskStart_Click);
    connect(TaskStop, &QAction::triggered, this, &mdiDaq::TaskStop_Click);
    connect(TaskManager, &QAction::triggered, this, &mdiDaq::TaskManager_Click);
    for (int index = 0; index < 2; ++index) {
        connect(OptionsCardConfig[index], &QAction::triggered, this,
                [this, index] { OptionsCardConfig_Click(index); });
        connect(OptionsCalibrate[index], &QAction::triggered, this,
                [this, index] { OptionsCalibrate_Click(index); });
    }
    connect(OptionsCardComm, &QAction::triggered, this, &mdiDaq::OptionsCardComm_Click);
    connect(OptionsSettings, &QAction::triggered, this, &mdiDaq::OptionsSettings_Click);
    connect(HelpContents, &QAction::triggered, this, &mdiDaq::HelpContents_Click);
    connect(HelpAbout, &QAction::triggered, this, &mdiDaq::HelpAbout_Click);
}

}  // namespace vantrel
