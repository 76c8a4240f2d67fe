#include "app/MainWindow.h"

#include "app/AppIcons.h"
#include "app/StatusPanels.h"
#include "screenshots/PictureBox.h"
#include "screenshots/ScreenshotStore.h"
#include "screenshots/ScreenshotViewer.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QWindowStateChangeEvent>

namespace glim {

namespace {

// The client area is 9510 x 7200 twips: 634 x 480 pixels.
constexpr QSize kClientSize(634, 480);
constexpr QRect kToolBar(0, 0, 634, 24);
constexpr QRect kStatusBar(0, 463, 634, 17);

// The maker's home page, shown as the caption of its Quick links item.
const QString kHomePageCaption = QStringLiteral("www.zivra-glimwell.example");

} // namespace

MainWindow::MainWindow(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , m_client(new QWidget(this)) {
    setObjectName(QStringLiteral("Glimmain"));
    setWindowTitle(QStringLiteral("Zivra Glimwell"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setFixedSize(kClientSize);
    m_client->setAutoFillBackground(true);
    QPalette background = m_client->palette();
    background.setColor(QPalette::Window, QColor(224, 224, 224));
    m_client->setPalette(background);
    setCentralWidget(m_client);

    buildMenus();
    buildToolBar();
    m_status = new StatusPanels(m_client);
    m_status->setGeometry(kStatusBar);
    m_viewer = new ScreenshotViewer(m_client, folder, dialogs);
    new ScreenshotStore(*m_viewer, folder, dialogs);
    connect(m_viewer, &ScreenshotViewer::pictureCommandsSwitched, this,
            &MainWindow::setPictureCommandsEnabled);
    connect(m_viewer, &ScreenshotViewer::centrePressed, this,
            [this] { m_toolButtons.value(QStringLiteral("Center"))->setChecked(true); });

    adjustSize();
    setFixedSize(sizeHint());
    // Centred on the screen when first shown.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->geometry();
        move(available.center() - rect().center());
    }
    loadState();
}

QAction* MainWindow::addMenuAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action =
        caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("filemnu"));
    file->menuAction()->setObjectName(QStringLiteral("filemnu"));
    addMenuAction(file, "newscre", QStringLiteral("New Event"));
    addMenuAction(file, "neweven", QStringLiteral("-"));
    addMenuAction(file, "openscr", QStringLiteral("Open"));
    addMenuAction(file, "saveimg", QStringLiteral("Save"));
    addMenuAction(file, "scrrrrbar", QStringLiteral("-"));
    addMenuAction(file, "clip", QStringLiteral("Copy"));
    addMenuAction(file, "pstscre", QStringLiteral("Paste"));
    addMenuAction(file, "bar1", QStringLiteral("-"));
    addMenuAction(file, "primg", QStringLiteral("Print"));
    addMenuAction(file, "bar3", QStringLiteral("-"));
    QAction* exit = addMenuAction(file, "ex1", QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::exitRequested);

    QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("toolsmnu"));
    tools->menuAction()->setObjectName(QStringLiteral("toolsmnu"));
    for (const auto& [name, caption] :
         {std::pair{"actw", "Act. Window Shot"}, std::pair{"sel", "Selector Shot"},
          std::pair{"scrfull", "Full Screenshot"}, std::pair{"msnsh", "MSN Shot"}}) {
        addMenuAction(tools, name, QString::fromLatin1(caption))->setCheckable(true);
    }

    QMenu* extra = bar->addMenu(QStringLiteral("Extra"));
    extra->setObjectName(QStringLiteral("sknopt"));
    extra->menuAction()->setObjectName(QStringLiteral("sknopt"));
    m_editImageMenu = extra->addMenu(QStringLiteral("Edit Image"));
    m_editImageMenu->setObjectName(QStringLiteral("ei"));
    m_editImageMenu->menuAction()->setObjectName(QStringLiteral("ei"));
    addMenuAction(m_editImageMenu, "abr", QStringLiteral("Adjust Brightness"));
    addMenuAction(m_editImageMenu, "acon", QStringLiteral("Adjust Contrast"));
    addMenuAction(m_editImageMenu, "adjbar", QStringLiteral("-"));
    addMenuAction(m_editImageMenu, "ablur", QStringLiteral("Apply Blur"));
    addMenuAction(m_editImageMenu, "ahn", QStringLiteral("Apply Horizontal Ripples"));
    addMenuAction(m_editImageMenu, "aplllbar", QStringLiteral("-"));
    addMenuAction(m_editImageMenu, "invpic", QStringLiteral("Invert Picture"));
    addMenuAction(extra, "obar", QStringLiteral("-"));
    addMenuAction(extra, "genopt", QStringLiteral("Options"));

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("helpmnu"));
    help->menuAction()->setObjectName(QStringLiteral("helpmnu"));
    addMenuAction(help, "scrfaq", QStringLiteral("Online FAQ"));
    QMenu* quick = help->addMenu(QStringLiteral("Quick links"));
    quick->setObjectName(QStringLiteral("quick"));
    quick->menuAction()->setObjectName(QStringLiteral("quick"));
    addMenuAction(quick, "zivraweb", kHomePageCaption);
    addMenuAction(quick, "zivrafweb", QStringLiteral("Zivra Forums"));
    addMenuAction(quick, "down", QStringLiteral("Zivra Downloads"));
    addMenuAction(help, "dbaa", QStringLiteral("-"));
    addMenuAction(help, "chupd", QStringLiteral("Check for update"));
    addMenuAction(help, "bar2", QStringLiteral("-"));
    addMenuAction(help, "ab", QStringLiteral("About"));
}

void MainWindow::buildToolBar() {
    m_toolBar = new QToolBar(m_client);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setGeometry(kToolBar);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_alignment = new QActionGroup(this);
    m_alignment->setExclusive(true);

    // The 14 entries in order; an empty key is a separator without a key.
    const char* const entries[] = {"New", "Open",       "Save",   "",           "Print",
                                   "",    "Copy",       "Paste",  "sep",        "Edit Image",
                                   "",    "Align Left", "Center", "Align Right"};
    int position = 0;
    for (const char* entry : entries) {
        ++position;
        const QString key = QString::fromLatin1(entry);
        QAction* action = nullptr;
        if (key.isEmpty() || key == QLatin1String("sep")) {
            action = m_toolBar->addSeparator();
        } else {
            action = m_toolBar->addAction(toolIcon(key), QString());
            action->setToolTip(key);
        }
        action->setData(key);
        action->setObjectName(QStringLiteral("tbButton%1").arg(position));
        if (!key.isEmpty())
            m_toolButtons.insert(key, action);
        if (key.startsWith(QLatin1String("Align")) || key == QLatin1String("Center")) {
            action->setCheckable(true);
            m_alignment->addAction(action);
        }
    }
    connect(m_toolBar, &QToolBar::actionTriggered, this,
            [this](QAction* action) { dispatchToolButton(action->data().toString()); });
}

void MainWindow::dispatchToolButton(const QString& key) {
    auto trigger = [this](const char* name) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->trigger();
    };
    if (key == QLatin1String("Save")) {
        trigger("saveimg");
    } else if (key == QLatin1String("Paste")) {
        trigger("pstscre");
    } else if (key == QLatin1String("Open")) {
        trigger("openscr");
    } else if (key == QLatin1String("Print")) {
        trigger("primg");
    } else if (key == QLatin1String("Edit Image")) {
        if (!(m_editImageOpen && m_editImageOpen()))
            m_editImageMenu->popup(QCursor::pos());
    } else if (key == QLatin1String("Align Left")) {
        m_viewer->alignLeft();
    } else if (key == QLatin1String("Center")) {
        m_viewer->alignCenter();
    } else if (key == QLatin1String("Align Right")) {
        m_viewer->alignRight();
    } else if (key == QLatin1String("Copy")) {
        // The tool bar's own copy comes with the clipboard commands.
    } else if (key == QLatin1String("New")) {
        trigger("newscre");
    }
}

void MainWindow::setPictureCommandsEnabled(bool enabled) {
    m_editImageMenu->menuAction()->setEnabled(enabled);
    for (const char* name : {"saveimg", "clip", "primg"}) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->setEnabled(enabled);
    }
    for (const char* key : {"Save", "Print", "Copy", "Align Left", "Align Right", "Center"})
        m_toolButtons.value(QString::fromLatin1(key))->setEnabled(enabled);
    for (const char* key : {"Edit Image", "sep"})
        m_toolButtons.value(QString::fromLatin1(key))->setVisible(enabled);
}

void MainWindow::loadState() {
    m_viewer->loadState();
    if (!m_viewer->ima()->hasPicture())
        setPictureCommandsEnabled(false);
    m_toolButtons.value(QStringLiteral("Center"))->setChecked(true);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A minimised main window is hidden instead; it keeps its list and picture.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        hide();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_ending)
        emit closeRequested();
}

} // namespace glim
