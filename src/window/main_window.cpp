// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/main_window.h"

#include "core/files/native_path.h"
#include "core/pinyin/character_code.h"
#include "core/settings/install_layout.h"
#include "window/chinese_tab.h"
#include "window/fixed_layout.h"
#include "window/japanese_tab.h"
#include "window/message_box.h"
#include "window/phonetic_writer.h"
#include "window/saved_text.h"
#include "window/text_menu.h"
#include "window/text_pane.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <sys/stat.h>
#include <utility>

namespace lirobel::window {

using files::NativeFromPath;
using settings::LoadSettings;
using settings::ProjectPage;
using settings::SaveSettings;
using settings::SettingsFileResult;

namespace {

// The project's page, which "检查软件更新" opens: its README until it has a web page.
QUrl ProjectPageUrl() {
    return QUrl(ProjectPage(QCoreApplication::applicationDirPath()));
}

const QString kNotice1 = QStringLiteral(
    "注意：网上有些歌词是混杂歌词（日文、中文、罗马音混杂在一起）。若歌词中含有罗马音，推荐使用罗马音歌词转换，程序可"
    "自动筛选罗马音进行处理（若罗马音中含有英语歌词，请分别用符号“/*”和“*/”将其括起）。如果要使用日语歌词转换，请确"
    "保歌词中不含中文歌词！程序无法识别中文汉字和日语汉字！");
const QString kNotice2 = QStringLiteral(
    "注意：在拼音转VOCALOID音标功能中，音标偏向于初音未来（系列），不过以后我会做不同歌手的中文调教。对于批量转换，转"
    "换的音标是连成一片的，虽然分隔符“|”已用红色显示，但还是容易看晕，所以请用VOCALOID音标灌入功能批量输入音标！");

// The credits line cycles through these, one step every ten seconds; the first two are indented. Each
// line of them fits the label whole, so that nothing wraps inside a word. Until the project has a web
// page, the contact line names what "检查软件更新" opens.
const std::array<QString, 3>& Credits() {
    static const std::array<QString, 3> credits = {
        QString(36, u' ') + QStringLiteral("作者：Lirobel 开发组"),
        QString(36, u' ') + QStringLiteral("主页：Lirobel 说明书"),
        QStringLiteral("感谢 Qt、GNU C 库 (iconv)\n等开源项目的技术支持！"),
    };
    return credits;
}
constexpr int kCreditsInterval = 10000;

// The folder the VSQX file dialog starts in: the saved one where it exists on this system, otherwise the
// home folder (the default "C:\" exists on no system this program runs on here).
QString DialogStartFolder(const QString& lastFolder) {
    return QFileInfo(lastFolder).isDir() ? lastFolder : QDir::homePath();
}

// Whether the path, which may hold bytes that are not UTF-8, names a file (or a link to one).
bool IsRegularFile(const QString& path) {
    struct stat status {};
    return ::stat(NativeFromPath(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

QFileDialog* MakeCommonDialog(QWidget* parent, const QString& startFolder) {
    auto* dialog = new QFileDialog(parent, QStringLiteral("选择VSQX文件"), startFolder);
    dialog->setObjectName(QStringLiteral("CommonDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({QStringLiteral("所有支持的文件 (*.vsqx *.vpr)"), QStringLiteral("VOCALOID5/6 工程(*.vpr)"),
                            QStringLiteral("VOCALOID3序列(*.vsqx)"), QStringLiteral("所有文件 (*)")});
    dialog->setDefaultSuffix(QStringLiteral("vsqx"));
    return dialog;
}

} // namespace

Main::Main(QString settingsPath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_settingsPath(std::move(settingsPath)) {
    SettingsFileResult loaded = LoadSettings(m_settingsPath);
    if (!loaded.problem.isEmpty())
        qWarning("%s", qUtf8Printable(loaded.problem));
    m_settings = std::move(loaded.settings);
    // The code page map is built now rather than at the first keystroke in the Chinese pane.
    m_characterCodesAvailable = pinyin::CharacterCodesAvailable();

    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Lirobel  V" LIROBEL_VERSION));
    setFixedSize(533, 552);

    auto* tabs = Placed(new QTabWidget(this), "TabStrip", {8, 8, 521, 469});
    tabs->addTab(new JapaneseTab(m_settings, tabs), QStringLiteral("日语歌词处理"));
    auto* chinese = new ChineseTab(tabs);
    tabs->addTab(chinese, QStringLiteral("自动中文调教"));
    connect(chinese, &ChineseTab::PutPhoneticPressed, this, [this, chinese] { OpenWriter(*chinese); });

    m_about = Placed(new QLabel(Credits()[0], this), "About", {8, 480, 412, 68});
    m_about->setFont(BoldSongTi(14.25));
    m_about->setTextFormat(Qt::PlainText);
    m_about->setWordWrap(true);
    m_about->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* upgrade = Placed(new QPushButton(QStringLiteral("检查软件更新"), this), "Upgrade", {424, 480, 105, 33});
    connect(upgrade, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(ProjectPageUrl()); });
    m_exit = Placed(new QPushButton(QStringLiteral("退出程序"), this), "Exit", {424, 520, 105, 29});
    m_exit->setDefault(true);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
    // Enter works the focused button; elsewhere it reaches the window and works "退出程序".
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer"));
    connect(timer, &QTimer::timeout, this, &Main::TickCredits);
    timer->start(kCreditsInterval);

    m_menu = new TextMenu(this);
    for (TextPane* pane : findChildren<TextPane*>())
        m_menu->Attach(pane);

    m_commonDialog = MakeCommonDialog(this, DialogStartFolder(m_settings.LastFolder));
    m_menu->ResetMenuTarget();
}

std::unique_ptr<Main> Main::Start(QString settingsPath, const QString& fileToOpen, QString savedTextFolder) {
    auto window = std::make_unique<Main>(std::move(settingsPath));
    window->m_savedTextFolder = std::move(savedTextFolder);
    if (!fileToOpen.isEmpty() && !IsRegularFile(fileToOpen))
        qWarning("lirobel: %s is not a file; it is not opened.", NativeFromPath(fileToOpen).constData());
    else
        window->m_fileToOpen = fileToOpen;
    // The notices centre on their owner, which is not shown yet: placed now, in the middle of the screen
    // with the pointer, it is where the user will find it, and the notices with it rather than at the
    // screen's left edge.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window->move(screen->availableGeometry().center() - window->rect().center());
    window->ShowNotices();
    window->RestoreText();
    window->show();
    return window;
}

void Main::RestoreText() {
    if (m_savedTextFolder.isEmpty())
        return;
    const auto saved = [this](const char* pane) { return SavedText(m_savedTextFolder, QString::fromLatin1(pane)); };
    findChild<TextPane*>(QStringLiteral("Input"))->SetText(saved("Input"));
    findChild<ChineseTab*>()->Restore(saved("ChineseText"), saved("PinYin"));
}

void Main::SaveText() const {
    if (m_savedTextFolder.isEmpty())
        return;
    findChild<ChineseTab*>()->CatchUp(); // the pinyin of long lyrics may still wait for a pause in typing
    for (const char* name : {"Input", "ChineseText", "PinYin"}) {
        const QString pane = QString::fromLatin1(name);
        // The free function, which this member of the same name hides.
        const QString problem = window::SaveText(m_savedTextFolder, pane, findChild<TextPane*>(pane)->text());
        if (!problem.isEmpty())
            qWarning("%s", qUtf8Printable(problem));
    }
}

void Main::ShowNotices() {
    if (!m_characterCodesAvailable)
        MessageBox::ShowUnexpectedFailure(this, QStringLiteral("The system's iconv has no code page 936 (CP936), "
                                                               "so no Chinese character can be recognised."));
    MessageBox::Show(this, MessageBox::Icon::Warning, kNotice1);
    MessageBox::Show(this, MessageBox::Icon::Warning, kNotice2);
}

void Main::TickCredits() {
    const auto& credits = Credits();
    const auto current = std::find(credits.begin(), credits.end(), m_about->text());
    if (current != credits.end())
        m_about->setText(std::next(current) == credits.end() ? credits.front() : *std::next(current));
}

void Main::OpenWriter(const ChineseTab& chinese) {
    PhoneticWriter* writer = PhoneticWriter::Open(*this, chinese.Phonetic(), *m_commonDialog, m_settings);
    if (!writer)
        return;
    if (!m_fileToOpen.isEmpty())
        writer->Choose(std::exchange(m_fileToOpen, QString()));
    // Back on the button that opened it, where Enter opens the writer again rather than ending the program.
    auto* put = chinese.findChild<QPushButton*>(QStringLiteral("PutPhonetic"));
    connect(writer, &PhoneticWriter::Closed, this, [this, put] {
        activateWindow();
        put->setFocus(Qt::OtherFocusReason);
    });
}

void Main::closeEvent(QCloseEvent* event) {
    // Disabled, the window waits for the writer window it owns; the desktop may still ask it to close.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    if (const QString problem = SaveSettings(m_settingsPath, m_settings); !problem.isEmpty())
        qWarning("%s", qUtf8Printable(problem));
    SaveText();
    event->accept();
}

void Main::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_exit->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace lirobel::window
