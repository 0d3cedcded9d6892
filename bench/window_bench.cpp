// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with long lyrics: a paste into the Chinese pane until its pinyin shows, a keystroke in
// a long lyric until the Chinese pane shows it, the pinyin that follows once typing pauses, and the
// phonetic conversion with its red separators. Runs offscreen.
#include "support/vsqx_generator.h"
#include "window/main_window.h"
#include "window/message_box.h"
#include "window/text_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using lirobel::window::Main;
using lirobel::window::TextPane;

// Lines of common hanzi as song lyrics have them, up to the given size in UTF-8 bytes.
QString ChineseLyrics(qsizetype utf8Bytes) {
    const QString verse = QStringLiteral("我们一起唱这首歌，让快乐的声音飞向远方。\n"
                                         "天空中的星星 闪烁着明亮的光芒\n"
                                         "Love 你的笑容是我心中最美的风景！\n");
    return verse.repeated(static_cast<qsizetype>(utf8Bytes / verse.toUtf8().size() + 1));
}

// Until the panes are laid out and painted, as the user sees them.
void Show() {
    QCoreApplication::processEvents();
}

// One window for every benchmark: the start-up is not what is measured.
class Window {
public:
    Window() {
        lirobel::window::MessageBox::SetTestHook([](const lirobel::window::MessageBox::Message&) {});
        m_main = Main::Start(m_folder.filePath(QStringLiteral("Settings.ini")));
        m_main->findChild<QTabWidget*>(QStringLiteral("TabStrip"))->setCurrentIndex(1);
    }
    TextPane* Pane(const char* name) const { return m_main->findChild<TextPane*>(QString::fromLatin1(name)); }
    QWidget* MainWindow() const { return m_main.get(); }
    QString Path(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }
    QPushButton* Button(const char* name) const { return m_main->findChild<QPushButton*>(QString::fromLatin1(name)); }

    // Until the pinyin of long lyrics, which waits for a pause in typing, has followed and shows.
    void WaitForPinYin() const {
        const auto* pause = m_main->findChild<QTimer*>(QStringLiteral("TypingPause"));
        while (pause->isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Show();
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<Main> m_main;
};

// Made in main(), where it ends before the application does.
Window* theWindow = nullptr;

Window& TheWindow() {
    return *theWindow;
}

void BM_PasteChineseLyrics(benchmark::State& state) {
    Window& window = TheWindow();
    const QString lyrics = ChineseLyrics(state.range(0));
    TextPane* chinese = window.Pane("ChineseText");
    for (auto _ : state) {
        state.PauseTiming();
        chinese->clear();
        Show();
        QGuiApplication::clipboard()->setText(lyrics);
        state.ResumeTiming();
        chinese->paste();
        Show();
        window.WaitForPinYin();
    }
    state.counters["pinyin_chars"] = static_cast<double>(window.Pane("PinYin")->text().size());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PasteChineseLyrics)->Arg(16 << 10)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// A keystroke at the end of long lyrics until the Chinese pane shows it; with a second argument of 1,
// until the pinyin shows it too, the pause it waits for in long lyrics included.
void BM_TypeIntoLongLyrics(benchmark::State& state) {
    Window& window = TheWindow();
    TextPane* chinese = window.Pane("ChineseText");
    chinese->setPlainText(ChineseLyrics(state.range(0)));
    chinese->moveCursor(QTextCursor::End);
    window.WaitForPinYin();
    for (auto _ : state) {
        QTest::sendKeyEvent(QTest::Click, chinese, Qt::Key_unknown, QStringLiteral("爱"), Qt::NoModifier);
        Show();
        if (state.range(1))
            window.WaitForPinYin();
    }
    window.WaitForPinYin();
    state.counters["pinyin_chars"] = static_cast<double>(window.Pane("PinYin")->text().size());
}
BENCHMARK(BM_TypeIntoLongLyrics)
    ->Args({16 << 10, 0})
    ->Args({1 << 20, 0})
    ->Args({1 << 20, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ConvertToPhonetic(benchmark::State& state) {
    Window& window = TheWindow();
    window.Pane("ChineseText")->setPlainText(ChineseLyrics(state.range(0)));
    window.WaitForPinYin();
    for (auto _ : state) {
        window.Button("Begin2")->click();
        Show();
    }
    state.counters["items"] = static_cast<double>(window.Pane("VPhonetic")->text().count(u'|'));
}
BENCHMARK(BM_ConvertToPhonetic)->Arg(16 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// From the click on "开始灌入" to the completion message, progress window included.
void BM_PourThroughTheWindow(benchmark::State& state) {
    Window& window = TheWindow();
    const int notes = static_cast<int>(state.range(0));
    const QByteArray song = lirobel::test::GenerateVsqx({2, 5, notes / 10});
    const QString path = window.Path("song.vsqx");
    window.Pane("VPhonetic")->setPlainText(lirobel::test::GeneratePhonetic(notes));
    window.Button("PutPhonetic")->click();
    QWidget* writer = window.MainWindow()->findChild<QWidget*>(QStringLiteral("PhoneticWriter"));
    writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->setText(path);
    QElapsedTimer clock;
    bool completed = false;
    lirobel::window::MessageBox::SetTestHook([&](const lirobel::window::MessageBox::Message& message) {
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        completed = message.icon == lirobel::window::MessageBox::Icon::Information;
    });
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(song) != song.size()) {
            state.SkipWithError("cannot write the song");
            break;
        }
        file.close();
        completed = false;
        clock.start();
        writer->findChild<QPushButton*>(QStringLiteral("Begin"))->click();
        if (!completed) {
            state.SkipWithError("the pour did not complete");
            break;
        }
    }
    lirobel::window::MessageBox::SetTestHook([](const lirobel::window::MessageBox::Message&) {});
    writer->close();
    // The closed writer goes now, before the next run of this benchmark opens another.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.SetBytesProcessed(state.iterations() * song.size());
}
BENCHMARK(BM_PourThroughTheWindow)->Arg(30000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Window window;
    theWindow = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
