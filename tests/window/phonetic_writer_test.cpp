// SPDX-License-Identifier: GPL-3.0-or-later
// The writer window as a user works it, by mouse, keyboard and drops; the pour itself is the core's and
// is tested there: here it only has to be given the pane, the path and the choice, and be reported.
#include "core/files/native_path.h"
#include "core/vpr/pour_song.h"
#include "core/vsqx/file_lines.h"
#include "support/vpr_generator.h"
#include "support/vsqx_generator.h"
#include "support/window_under_test.h"
#include "window/text_pane.h"
#include "window/waiting.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

namespace lirobel::window {

using test::Find;
using test::WindowUnderTest;

namespace {

// Answers the file dialog that the next step opens: chooses path, or cancels when it is null.
void AnswerFileDialog(QObject* context, const QString& path) {
    QTimer::singleShot(0, context, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == u"CommonDialog" && dialog->isEnabled());
        if (path.isNull())
            return dialog->reject();
        // Typed into the dialog's name box, as a user may, whatever folder the dialog shows.
        Find<QLineEdit>(dialog, "fileNameEdit")->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

// Drops the file whose name has these bytes, as a file manager sends it: a URL with the bytes
// percent-encoded.
void Drop(QWidget* target, const QByteArray& nativePath) {
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + nativePath.toPercentEncoding("/"))});
    QDragEnterEvent enter(QPoint(10, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

// The song of a row of the "pour" table in window_cases.tsv; null when there is none.
QByteArray Song(const QString& kind) {
    using test::VprLayout;
    const QByteArray song = test::GenerateVsqx({});
    if (kind == u"held")
        return QByteArray(song).replace("[" + test::NoteLyric(1).toUtf8() + "]]></lyric>", "[-]]></lyric>");
    if (kind == u"project")
        return test::GenerateVpr(
            VprLayout::Version6,
            test::GenerateSequence(VprLayout::Version6, test::GenerateVprNotes(VprLayout::Version6, 3)));
    if (kind == u"not VSQX")
        return "<vsq3/>\r\n";
    if (kind == u"unclosed")
        return QByteArray(song).replace("</phnms>", "</phnm>");
    return kind == u"missing" ? QByteArray() : song;
}

QLineEdit* PathBox(const QWidget* writer) {
    return Find<QLineEdit>(writer, "VSQXPath");
}

} // namespace

class PhoneticWriterTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_started = std::make_unique<WindowUnderTest>();
        m_started->ShowPage(1);
        m_song = m_started->folder.filePath(QStringLiteral("song.vsqx"));
    }
    void cleanup() { m_started.reset(); }

    void fromChineseLyricsIntoAVsqxFile() {
        QWidget* main = m_started->window.get();
        main->activateWindow();
        QCOMPARE(
            m_started->Find<QFileDialog>("CommonDialog")->nameFilters(),
            QStringList({QStringLiteral("所有支持的文件 (*.vsqx *.vpr)"), QStringLiteral("VOCALOID5/6 工程(*.vpr)"),
                         QStringLiteral("VOCALOID3序列(*.vsqx)"), QStringLiteral("所有文件 (*)")}));
        test::Click(main, "PutPhonetic");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].text,
                 QStringLiteral("没有VOCALOID音标！请将拼音转换为VOCALOID音标后在使用此功能！"));
        QVERIFY(!Writer() && main->isEnabled());

        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(m_song, song);
        QDir(m_started->folder.path()).mkdir(QStringLiteral("sub"));
        const QString other = test::WriteFile(m_started->folder.filePath(QStringLiteral("sub/other.vsqx")), "x");
        m_started->Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("你好"));
        test::Click(main, "Begin2");
        QWidget* writer = OpenWriter();
        QLineEdit* path = PathBox(writer);
        const QString& lastFolder = m_started->window->settings().LastFolder;
        QVERIFY(writer->isVisible() && writer->isEnabled() && !main->isEnabled() && !main->close());
        QCOMPARE(path->text(), QString());
        QCOMPARE(writer->focusWidget(), Find<QWidget>(writer, "Begin"));
        AnswerFileDialog(this, QString());
        test::Click(writer, "ReadVSQX");
        QCOMPARE(path->text() + lastFolder, QStringLiteral("C:\\"));
        // Enter now works the writer, not the disabled main window.
        QTRY_COMPARE(QApplication::activeWindow(), writer);
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(writer, "Begin"));
        Drop(writer, QFile::encodeName(other));
        QCOMPARE(path->text() + u' ' + lastFolder, other + u' ' + m_started->folder.filePath(QStringLiteral("sub/")));
        AnswerFileDialog(this, m_song);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(path->text() + u' ' + lastFolder, m_song + u' ' + m_started->folder.path() + u'/');

        // The windows as they stand while the completion message is up, before the progress window closes.
        bool chainHeld = false;
        const auto lines = static_cast<double>(vsqx::CountFileLines(song));
        m_started->onMessage = [&](const MessageBox::Message&) {
            auto* waiting = writer->findChild<Waiting*>();
            chainHeld = waiting && waiting->isVisible() && waiting->isEnabled() && !writer->isEnabled() &&
                        !main->isEnabled() && waiting->Value() == 2 * lines && waiting->Maximum() == 2 * lines;
        };
        QTest::keyClick(writer, Qt::Key_Return);
        QCOMPARE(m_started->messages.size(), 2u);
        QCOMPARE(m_started->messages[1].informativeText,
                 QStringLiteral("写入了 2 个音符；还有 1 个音符没有写入音标。"));
        QVERIFY(chainHeld && writer->isEnabled());
        QVERIFY(!writer->findChild<Waiting*>() || !writer->findChild<Waiting*>()->isVisible());
        QCOMPARE(path->text(), m_song);

        // Esc closes the writer; the next Enter opens it again rather than ending the program with the lyrics.
        test::Click(writer, "SkipHeld");
        QTest::keyClick(writer, Qt::Key_Escape);
        QVERIFY(main->isEnabled());
        QTRY_VERIFY(!Writer());
        QTRY_COMPARE(QApplication::focusWidget(), Find<QWidget>(main, "PutPhonetic"));
        // A new writer has no path yet, and the held-note choice as it was left.
        writer = OpenWriter();
        QVERIFY(PathBox(writer)->text().isEmpty() && Find<QCheckBox>(writer, "SkipHeld")->isChecked());
        writer->close();
        main->close();
        // The choice stays out of the settings file; the next start opens the file dialog in the folder chosen last.
        QCOMPARE(test::ReadFile(m_started->settingsPath).count('\n'), 4);
        const WindowUnderTest next(test::ReadFile(m_started->settingsPath));
        QCOMPARE(QDir(next.Find<QFileDialog>("CommonDialog")->directory()), QDir(m_started->folder.path()));
    }

    void theFileTheProgramStartsWithFillsTheFirstWriterOnly() {
        const QTemporaryDir folder;
        const QString song = test::WriteFile(folder.filePath(QStringLiteral("song.vsqx")), test::GenerateVsqx({}));
        StartWith(song);
        // Warned of the empty pane, no writer opens, and the file waits for the first one that does.
        test::Click(m_started->window.get(), "PutPhonetic");
        QCOMPARE(PathBox(OpenWriter(QStringLiteral("J i|")))->text(), song);
        Writer()->close();
        QTRY_VERIFY(!Writer());
        QCOMPARE(PathBox(OpenWriter())->text(), QString());

        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("lirobel: ") + folder.path() +
                                                      QStringLiteral(" is not a file; it is not opened.")));
        StartWith(folder.path());
        QCOMPARE(PathBox(OpenWriter(QStringLiteral("J i|")))->text(), QString());
    }

    void namesThatAreNotUtf8NameTheirOwnFile() {
        // A name in GBK, and beside it the file that Qt's decoding of that name would give.
        const QByteArray gbk = QFile::encodeName(m_started->folder.path()) + "/\xb8\xe8.vsqx";
        const QString replacement = m_started->folder.filePath(QStringLiteral("\uFFFD.vsqx"));
        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(replacement, song);
        test::WriteNativeFile(gbk, song);
        QWidget* writer = OpenWriter(QStringLiteral("J i|"));

        // The file dialog can only show such a name with U+FFFD: a choice of it is refused.
        AnswerFileDialog(this, replacement);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].icon, MessageBox::Icon::Error);
        QCOMPARE(PathBox(writer)->text(), QString());
        // A drop brings the name's bytes.
        Drop(writer, gbk);
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 2u);
        QCOMPARE(test::ReadFile(replacement), song);
        QVERIFY(test::ReadNativeFile(gbk).contains("lock=\"1\""));
        QCOMPARE(files::NativeFromPath(m_started->window->settings().LastFolder),
                 QFile::encodeName(m_started->folder.path()) + '/');
    }

    void outcomesAndTheEnablingChain_data() {
        test::AddCaseRows("pour", {"song", "skipHeld", "text", "counts", "state"},
                          LIROBEL_TEST_DATA "/window_cases.tsv");
    }
    void outcomesAndTheEnablingChain() {
        QFETCH(QString, song);
        QFETCH(QString, skipHeld);
        QFETCH(QString, text);
        QFETCH(QString, counts);
        QFETCH(QString, state);
        const QString phonetic = QStringLiteral("J i|h a o|");
        const QString reference = m_started->folder.filePath(QStringLiteral("reference"));
        if (const QByteArray file = Song(song); !file.isNull()) {
            test::WriteFile(m_song, file);
            test::WriteFile(reference, file);
        }
        QWidget* writer = OpenWriter(phonetic);
        Find<QCheckBox>(writer, "SkipHeld")->setChecked(skipHeld == u"1");
        PathBox(writer)->setText(m_song);
        QTest::keyClick(writer, Qt::Key_Return);

        QCOMPARE(m_started->messages.size(), 1u);
        const MessageBox::Message& message = m_started->messages[0];
        QCOMPARE(message.text, text);
        QCOMPARE(message.informativeText, counts);
        using Icon = MessageBox::Icon;
        QCOMPARE(message.icon, !state.isEmpty() ? Icon::Error : counts.isEmpty() ? Icon::Warning : Icon::Information);
        QCOMPARE(message.detailedText.isEmpty(), state.isEmpty());
        // The file is what the pour makes of it with the pane's text and the choice.
        vsqx::PourOptions options;
        options.skipHeld = skipHeld == u"1";
        vsqx::PourProgress quiet;
        vpr::PourPhoneticIntoSong(reference, phonetic, quiet, options);
        QCOMPARE(test::ReadFile(m_song), test::ReadFile(reference));
        // A failed run leaves its progress window open, and the writer disabled until it is closed.
        auto* waiting = writer->findChild<Waiting*>();
        QCOMPARE(waiting && waiting->isVisible() && waiting->isEnabled(), !state.isEmpty());
        QCOMPARE(writer->isEnabled(), state.isEmpty());
        if (state.isEmpty())
            return;
        QCOMPARE(Find<QLabel>(waiting, "State")->text(), state);
        waiting->close();
        QVERIFY(writer->isEnabled());
    }

    void aRunGoesOnWhenItsWindowsAreClosed() {
        test::WriteFile(m_song, test::GenerateVsqx({}));
        QWidget* writer = OpenWriter(QStringLiteral("J i|"));
        PathBox(writer)->setText(m_song);
        // Runs as soon as the run lets the event loop in, once its progress window shows.
        QTimer::singleShot(0, this, [writer] {
            writer->findChild<Waiting*>()->close();
            writer->close();
            test::Click(writer, "Begin");
            QVERIFY(!writer->isEnabled());
        });
        // The completion message needs an enabled owner: the writer, now that the run is over.
        bool ownerEnabled = false;
        m_started->onMessage = [&](const MessageBox::Message&) { ownerEnabled = writer->isEnabled(); };
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 1u);
        QVERIFY(ownerEnabled && m_started->window->isEnabled());
        QCOMPARE(test::ReadFile(m_song).count("lock=\"1\""), 1);
        QTRY_VERIFY(!Writer());
    }

private:
    QWidget* Writer() const { return m_started->window->findChild<QWidget*>(QStringLiteral("PhoneticWriter")); }

    void StartWith(const QString& fileToOpen) {
        m_started.reset(); // before the next window, whose message hook its end would clear
        m_started = std::make_unique<WindowUnderTest>(QByteArray(), fileToOpen);
        m_started->ShowPage(1);
    }

    // Opens the writer, with the phonetic pane holding phonetic unless that is null.
    QWidget* OpenWriter(const QString& phonetic = {}) {
        if (!phonetic.isNull())
            m_started->Find<TextPane>("VPhonetic")->setPlainText(phonetic);
        test::Click(m_started->window.get(), "PutPhonetic");
        return Find<QWidget>(m_started->window.get(), "PhoneticWriter");
    }

    std::unique_ptr<WindowUnderTest> m_started;
    QString m_song;
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::PhoneticWriterTest)
#include "phonetic_writer_test.moc"
