#include "app/MainWindow.h"

#include "about/WebAddresses.h"
#include "app/AppIcons.h"
#include "app/Services.h"
#include "app/StatusPanels.h"
#include "editing/EditImageCommands.h"
#include "platform/Shell.h"
#include "screenshots/EventCommands.h"
#include "screenshots/OutputCommands.h"
#include "screenshots/PictureBox.h"
#include "screenshots/SaveDialog.h"
#include "screenshots/ScreenshotStore.h"
#include "screenshots/ScreenshotViewer.h"
#include "settings/OptionsDialog.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
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

} // namespace

MainWindow::MainWindow(const Services& services, RecordFlag& recordFlag, QWidget* parent)
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

    m_menu = MainMenu::build(menuBar());
    connect(m_menu.genopt, &QAction::triggered, this,
            [this, folder = services.folder, &dialogs = services.dialogs] {
                showOptionsDialog(folder, dialogs, this);
            });
    // The Help menu's links open the maker's pages in the user's browser.
    const std::pair<QAction*, WebPage> links[] = {{m_menu.scrfaq, WebPage::Faq},
                                                  {m_menu.zivraweb, WebPage::Home},
                                                  {m_menu.zivrafweb, WebPage::Forums},
                                                  {m_menu.down, WebPage::Downloads}};
    for (const auto& link : links)
        connect(link.first, &QAction::triggered, this,
                [&shell = services.shell, page = link.second] { shell.openUrl(webAddress(page)); });
    buildToolBar();
    m_status = new StatusPanels(m_client);
    m_status->setGeometry(kStatusBar);
    m_viewer = new ScreenshotViewer(m_client, services.folder, services.dialogs, recordFlag);
    new ScreenshotStore(*m_viewer, services.folder, services.dialogs);
    connect(m_viewer, &ScreenshotViewer::pictureCommandsSwitched, this,
            &MainWindow::setPictureCommandsEnabled);
    connect(m_viewer, &ScreenshotViewer::centrePressed, m_buttons.center,
            [this] { m_buttons.center->setChecked(true); });
    connectCommands(services);

    adjustSize();
    setFixedSize(sizeHint());
    // Centred on the screen when first shown.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    loadState();
}

void MainWindow::buildToolBar() {
    m_toolBar = new QToolBar(m_client);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setGeometry(kToolBar);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_alignment = new QActionGroup(this);
    m_alignment->setExclusive(true);

    int position = 0;
    // A button showing the icon of its key, which is also its tool tip and its data.
    auto button = [this, &position](const char* key) {
        const QString text = QString::fromLatin1(key);
        QAction* action = m_toolBar->addAction(toolIcon(text), QString());
        action->setToolTip(text);
        action->setData(text);
        action->setObjectName(QStringLiteral("tbButton%1").arg(++position));
        return action;
    };
    auto separator = [this, &position](const char* key = "") {
        QAction* action = m_toolBar->addSeparator();
        action->setData(QString::fromLatin1(key));
        action->setObjectName(QStringLiteral("tbButton%1").arg(++position));
        return action;
    };
    m_buttons.newEvent = button("New");
    m_buttons.open = button("Open");
    m_buttons.save = button("Save");
    separator();
    m_buttons.print = button("Print");
    separator();
    m_buttons.copy = button("Copy");
    m_buttons.paste = button("Paste");
    m_buttons.sep = separator("sep");
    m_buttons.editImage = button("Edit Image");
    separator();
    m_buttons.alignLeft = button("Align Left");
    m_buttons.center = button("Center");
    m_buttons.alignRight = button("Align Right");
    for (QAction* align : {m_buttons.alignLeft, m_buttons.center, m_buttons.alignRight}) {
        align->setCheckable(true);
        m_alignment->addAction(align);
    }
    connect(m_toolBar, &QToolBar::actionTriggered, this,
            [this](QAction* action) { dispatchToolButton(action->data().toString()); });
}

void MainWindow::connectCommands(const Services& services) {
    // The services outlive every window; the folder is a value of its own.
    Dialogs& dialogs = services.dialogs;
    Clipboard& clipboard = services.clipboard;
    Printer& printer = services.printer;
    FileDialogs& fileDialogs = services.fileDialogs;
    const ProgramFolder folder = services.folder;
    ScreenshotViewer& viewer = *m_viewer;
    connect(m_menu.newscre, &QAction::triggered, this,
            [&dialogs, folder, &viewer] { newEvent(dialogs, folder, viewer); });
    connect(m_menu.openscr, &QAction::triggered, this,
            [this, &fileDialogs, &dialogs, folder, &viewer] {
                openPictureFile(fileDialogs, dialogs, folder, viewer, this);
            });
    connect(m_menu.pstscre, &QAction::triggered, this,
            [&clipboard, &viewer] { pastePicture(clipboard, viewer); });
    connect(m_menu.primg, &QAction::triggered, this,
            [&dialogs, &printer, &viewer] { printScreenshot(dialogs, printer, viewer); });
    connect(m_menu.clip, &QAction::triggered, this,
            [&clipboard, &viewer] { copyPicture(clipboard, viewer); });
    connect(m_menu.saveimg, &QAction::triggered, this,
            [this, folder, &dialogs, &fileDialogs, &viewer] {
                showSaveDialog(folder, dialogs, fileDialogs, viewer, this);
            });
    m_toolBarCopy = [&clipboard, &dialogs, &viewer] {
        copyPictureAlone(clipboard, dialogs, viewer);
    };
    auto* editing = new EditImageCommands(folder, dialogs, viewer, this);
    editing->connectItems({m_menu.abr, m_menu.acon, m_menu.ahn, m_menu.ablur, m_menu.invpic});
    setEditImageOpenQuery([editing] { return editing->isOpen(); });
}

void MainWindow::dispatchToolButton(const QString& key) {
    // Compared in this order, case-sensitively.
    if (key == QLatin1String("Save")) {
        m_menu.saveimg->trigger();
    } else if (key == QLatin1String("Paste")) {
        m_menu.pstscre->trigger();
    } else if (key == QLatin1String("Open")) {
        m_menu.openscr->trigger();
    } else if (key == QLatin1String("Print")) {
        m_menu.primg->trigger();
    } else if (key == QLatin1String("Edit Image")) {
        if (!(m_editImageOpen && m_editImageOpen()))
            m_menu.ei->popup(QCursor::pos());
    } else if (key == QLatin1String("Align Left")) {
        m_viewer->alignLeft();
    } else if (key == QLatin1String("Center")) {
        m_viewer->alignCenter();
    } else if (key == QLatin1String("Align Right")) {
        m_viewer->alignRight();
    } else if (key == QLatin1String("Copy")) {
        // Unlike the menu's Copy: only the picture stays on the clipboard, and it says so.
        m_toolBarCopy();
    } else if (key == QLatin1String("New")) {
        m_menu.newscre->trigger();
    }
}

void MainWindow::setPictureCommandsEnabled(bool enabled) {
    m_menu.ei->menuAction()->setEnabled(enabled);
    for (QAction* action :
         {m_menu.saveimg, m_menu.clip, m_menu.primg, m_buttons.save, m_buttons.print,
          m_buttons.copy, m_buttons.alignLeft, m_buttons.alignRight, m_buttons.center})
        action->setEnabled(enabled);
    m_buttons.editImage->setVisible(enabled);
    m_buttons.sep->setVisible(enabled);
}

void MainWindow::loadState() {
    m_viewer->loadState();
    if (!m_viewer->ima()->hasPicture())
        setPictureCommandsEnabled(false);
    m_buttons.center->setChecked(true);
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
