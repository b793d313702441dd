#include "ui/frmClip.h"

#include "ui/Pictures.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/LineControl.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace
{

// The client area as designed, before the first layout.
constexpr QSize designClientSize(307, 225);

QPushButton *pictureButton(QWidget *parent, int left, const QIcon &picture, const QString &tip)
{
    auto *button = new QPushButton(parent);
    button->setGeometry(left, 2, 25, 22);
    button->setIcon(picture);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    return button;
}

QLabel *borderedLabel(QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel *pictureHolder(QWidget *parent, int left, const QPixmap &picture)
{
    auto *holder = new QLabel(parent);
    holder->setPixmap(picture);
    holder->setGeometry(left, 152, picture.width(), picture.height());
    holder->hide();
    return holder;
}

QAction *item(QMenu *menu, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

frmClip::frmClip(ProgramState &state, const Platform &platform, QWidget *parent)
    : QMainWindow(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      state(state), platform(platform)
{
    // A tool window has no task-bar button: the program is reached through its tray icon.
    setWindowTitle(QStringLiteral("Quillbox"));
    setWindowIcon(Pictures::windowIcon());
    createControls();
    createMenus();
    setTabOrder();
    resize(designClientSize.width(), designClientSize.height() + menuBar()->sizeHint().height());

    wireShell();
    wireSettings();
    wireTray();
    wireCapture();
    wireLists();
    wireViewer();
    wireFileCommands();
    wireLayout();
}

frmClip::~frmClip() = default;

void frmClip::createControls()
{
    client = new QWidget(this);
    setCentralWidget(client);

    cmdStart = pictureButton(client, 0, Pictures::readingOff(), QStringLiteral("読込み開始"));
    cmdCopy = pictureButton(client, 32, Pictures::copy(), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送"));
    cmdUwa = pictureButton(client, 64, Pictures::save(), QStringLiteral("上書き保存"));
    cmdName = pictureButton(client, 88, Pictures::saveAs(), QStringLiteral("名前を付けて保存"));
    cmdReName = pictureButton(client, 112, Pictures::rename(), QStringLiteral("ﾌｧｲﾙ名の変更"));
    cmdDelete = pictureButton(client, 136, Pictures::deleteFile(), QStringLiteral("ﾌｧｲﾙの削除"));

    drvText = new DriveList(client);
    drvText->setGeometry(168, 3, 57, 20);
    drvText->setToolTip(QStringLiteral("ﾄﾞﾗｲﾌﾞ選択"));

    txtNameLen = new QLineEdit(client);
    txtNameLen->setGeometry(232, 4, 25, 18);
    txtNameLen->setToolTip(QStringLiteral("ﾌｧｲﾙ名文字数"));
    txtNameLen->setAlignment(Qt::AlignRight);
    // The length is set with the spinner beside it; typing here would change nothing.
    txtNameLen->setReadOnly(true);

    vscNameLen = new QScrollBar(Qt::Vertical, client);
    vscNameLen->setGeometry(256, 4, 17, 17);
    vscNameLen->setRange(5, 25);
    vscNameLen->setValue(25);
    vscNameLen->setPageStep(1);
    vscNameLen->setFocusPolicy(Qt::StrongFocus);
    txtNameLen->setText(QString::number(vscNameLen->value()));

    Line1[0] = new LineControl(client, 0, 0, 272, palette().color(QPalette::Dark));
    Line1[1] = new LineControl(client, 0, 1, 272, Qt::white);

    lblST[0] = borderedLabel(client, QRect(0, 24, 97, 17));
    lblST[1] = borderedLabel(client, QRect(96, 24, 177, 17));

    dirText = new FolderList(client);
    dirText->setGeometry(0, 40, 73, 20);
    dirText->setToolTip(QStringLiteral("ﾌｫﾙﾀﾞ選択"));
    dirText->setBackgroundRole(QPalette::Button);

    flbText = new FileList(client);
    flbText->setGeometry(0, 96, 81, 30);
    flbText->setPattern(QStringLiteral("*.txt"));

    txtText = new TextBox(client);
    txtText->setGeometry(208, 40, 65, 81);

    imgSt = new ImageArea(client);
    imgSt->setGeometry(0, 200, 129, 12);
    imgSt->setBorder(true);

    lblSts = new QLabel(client);
    lblSts->setGeometry(48, 200, 129, 8);
    lblSts->setAutoFillBackground(true);
    QPalette blue = lblSts->palette();
    blue.setColor(QPalette::Window, QColor(0, 0, 255));
    lblSts->setPalette(blue);
    lblSts->hide();

    picStart[0] = pictureHolder(client, 80, Pictures::readingOn());
    picStart[1] = pictureHolder(client, 112, Pictures::readingOff());

    // The handles lie over the gaps between the lists and the pane, the bars above everything.
    imgSS1 = new ImageArea(client);
    imgSS1->setGeometry(0, 80, 67, 3);
    imgSS1->setCursor(Qt::SizeVerCursor);
    imgSS = new ImageArea(client);
    imgSS->setGeometry(80, 40, 3, 81);
    imgSS->setCursor(Qt::SizeHorCursor);

    picSS1 = new SplitterBar(client);
    picSS1->setLeft(0);
    picSS1->setTop(88);
    picSS1->setWidth(91);
    picSS1->setHeight(4);
    picSS = new SplitterBar(client);
    picSS->setLeft(96);
    picSS->setTop(40);
    picSS->setWidth(3);
    picSS->setHeight(81);

    Timer1 = new QTimer(this);
    Timer1->setInterval(800);
}

void frmClip::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuStart = item(mnuFile, QStringLiteral("読込み開始"), QKeySequence(Qt::CTRL | Qt::Key_K));
    mnuCopy = item(mnuFile, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに転送"), QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuH4 = mnuFile->addSeparator();
    mnuUwa = item(mnuFile, QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuName =
        item(mnuFile, QStringLiteral("名前を付けて保存(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuRename =
        item(mnuFile, QStringLiteral("ﾌｧｲﾙ名の変更(&E)"), QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuDelete = item(mnuFile, QStringLiteral("ﾌｧｲﾙの削除(&D)"));
    mnuH2 = mnuFile->addSeparator();
    mnuClose = item(mnuFile, QStringLiteral("画面を閉じる(&C)"));
    mnuEnd = item(mnuFile, QStringLiteral("常駐終了(&X)"));

    mnuOption = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuFrmPosi = item(mnuOption, QStringLiteral("設定及び表示状態の保存(&S)"));
    mnuH0 = mnuOption->addSeparator();
    const QString optionCaptions[] = {
        QStringLiteral("起動時に画面表示"),
        QStringLiteral("常に手前に表示"),
        QStringLiteral("ﾌｫﾙﾀﾞｰ設定のﾛｯｸ"),
        QStringLiteral("読込み状態表示"),
    };
    for (int i = 0; i < 4; ++i) {
        m_mnuSet[i] = item(mnuOption, optionCaptions[i]);
        m_mnuSet[i]->setCheckable(true);
    }
    m_mnuSet[0]->setChecked(true);

    mnuHelp0 = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelp = item(mnuHelp0, QStringLiteral("Quillboxﾍﾙﾌﾟ"));
    mnuH5 = mnuHelp0->addSeparator();
    mnuVer = item(mnuHelp0, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));

    pop = new QMenu(QStringLiteral("ポップアップ"), this);
    mnuUwa2 = item(pop, QStringLiteral("上書き保存"));
    mnuName2 = item(pop, QStringLiteral("名前を付けて保存"));
    mnuRename2 = item(pop, QStringLiteral("ﾌｧｲﾙ名の変更"));
    DeleteFile = item(pop, QStringLiteral("削除"));

    pop2 = new QMenu(QStringLiteral("ポップアップ"), this);
    mnuStart2 = item(pop2, QStringLiteral("読込み開始"));
    mnuH3 = pop2->addSeparator();
    mnuEnd2 = item(pop2, QStringLiteral("常駐終了"));

    txtText->setWindowShortcuts({mnuStart, mnuCopy, mnuUwa, mnuName, mnuRename});
}

QAction *frmClip::mnuSet(int index) const
{
    return index >= 6 && index <= 9 ? m_mnuSet[index - 6] : nullptr;
}

void frmClip::setTabOrder()
{
    QWidget *const order[] = {flbText,   cmdStart,    cmdCopy,     cmdUwa,  cmdName,
                              cmdReName, cmdDelete,   txtText,     picSS,   lblST[0],
                              lblST[1],  picStart[0], picStart[1], dirText, drvText,
                              picSS1,    txtNameLen,  vscNameLen,  lblSts};
    // Labels, bars and picture holders never take the focus; the chain links the others.
    QWidget *previous = nullptr;
    for (QWidget *widget : order) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
