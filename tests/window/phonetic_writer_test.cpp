// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/native_path.h"
#include "core/vsqx/file_lines.h"
#include "core/vsqx/pour_run.h"
#include "core/vsqx/pour_texts.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
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
#include <fcntl.h>

namespace lirobel::window {

using namespace vsqx; // the pour the window runs, and its texts

using test::Find;
using test::WindowUnderTest;
using window::MessageBox;
using window::TextPane;

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

double Lines(const QByteArray& file) {
    return static_cast<double>(CountFileLines(file));
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
        auto* path = Find<QLineEdit>(writer, "VSQXPath");
        const QString& lastFolder = m_started->window->settings().LastFolder;
        QVERIFY(writer->isVisible() && writer->isEnabled() && !main->isEnabled() && !main->close());
        QCOMPARE(path->text(), QString());
        QCOMPARE(writer->focusWidget(), Find<QWidget>(writer, "Begin"));
        AnswerFileDialog(this, QString());
        test::Click(writer, "ReadVSQX");
        QCOMPARE(path->text() + lastFolder, QStringLiteral("C:\\"));
        Drop(writer, QFile::encodeName(other));
        QCOMPARE(path->text() + u' ' + lastFolder, other + u' ' + m_started->folder.filePath(QStringLiteral("sub/")));
        AnswerFileDialog(this, m_song);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(path->text() + u' ' + lastFolder, m_song + u' ' + m_started->folder.path() + u'/');

        // The windows as they stand while the completion message is up, before the progress window closes.
        bool chainHeld = false;
        m_started->onMessage = [&](const MessageBox::Message&) {
            auto* waiting = writer->findChild<Waiting*>();
            chainHeld = waiting && waiting->isVisible() && waiting->isEnabled() && !writer->isEnabled() &&
                        !main->isEnabled() && waiting->Value() == 2 * Lines(song) &&
                        waiting->Maximum() == 2 * Lines(song);
        };
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 2u);
        QCOMPARE(m_started->messages[1].icon, MessageBox::Icon::Information);
        QCOMPARE(m_started->messages[1].text, QStringLiteral("VOCALOID音标灌入完成！"));
        QCOMPARE(m_started->messages[1].informativeText,
                 QStringLiteral("写入了 2 个音符；还有 1 个音符没有写入音标。"));
        QVERIFY(chainHeld);
        const QString reference = test::WriteFile(m_started->folder.filePath(QStringLiteral("reference")), song);
        PourProgress quiet;
        PourPhoneticIntoFile(reference, m_started->Find<TextPane>("VPhonetic")->text(), quiet);
        QCOMPARE(test::ReadFile(m_song), test::ReadFile(reference));
        QVERIFY(!writer->findChild<Waiting*>() || !writer->findChild<Waiting*>()->isVisible());
        QVERIFY(writer->isEnabled());
        QCOMPARE(path->text(), m_song);

        writer->close();
        QVERIFY(main->isEnabled());
        QTRY_VERIFY(!Writer());
        QCOMPARE(Find<QLineEdit>(OpenWriter(), "VSQXPath")->text(), QString());
        // The next start of the program opens the file dialog in the folder chosen last.
        Writer()->close();
        main->close();
        const WindowUnderTest next(test::ReadFile(m_started->settingsPath));
        QCOMPARE(QDir(next.Find<QFileDialog>("CommonDialog")->directory()), QDir(m_started->folder.path()));
    }

    void theFileTheProgramStartsWithFillsTheFirstWriterOnly() {
        const QTemporaryDir folder;
        const QString song = test::WriteFile(folder.filePath(QStringLiteral("song.vsqx")), test::GenerateVsqx({}));
        StartWith(song);
        // Warned of the empty pane, no writer opens, and the file waits for the first one that does.
        test::Click(m_started->window.get(), "PutPhonetic");
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        QCOMPARE(Find<QLineEdit>(OpenWriter(), "VSQXPath")->text(), song);
        Writer()->close();
        QTRY_VERIFY(!Writer());
        QCOMPARE(Find<QLineEdit>(OpenWriter(), "VSQXPath")->text(), QString());

        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("lirobel: ") + folder.path() +
                                                      QStringLiteral(" is not a file; it is not opened.")));
        StartWith(folder.path());
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        QCOMPARE(Find<QLineEdit>(OpenWriter(), "VSQXPath")->text(), QString());
    }

    void namesThatAreNotUtf8NameTheirOwnFile() {
        // A name in GBK, and beside it the file that Qt's decoding of that name would give.
        const QByteArray gbk = QFile::encodeName(m_started->folder.path()) + "/\xb8\xe8.vsqx";
        const QString replacement = m_started->folder.filePath(QStringLiteral("\uFFFD.vsqx"));
        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(replacement, song);
        QFile file;
        const int descriptor = ::open(gbk.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(descriptor >= 0 && file.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write(song);
        file.close();
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        QWidget* writer = OpenWriter();
        auto* path = Find<QLineEdit>(writer, "VSQXPath");

        // The file dialog can only show such a name with U+FFFD: a choice of it is refused.
        AnswerFileDialog(this, replacement);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].icon, MessageBox::Icon::Error);
        QCOMPARE(path->text(), QString());
        // A drop brings the name's bytes.
        Drop(writer, gbk);
        QCOMPARE(files::NativeFromPath(path->text()), gbk);
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.back().text, kPourCompletedText.toString());
        QCOMPARE(test::ReadFile(replacement), song);
        QCOMPARE(files::NativeFromPath(m_started->window->settings().LastFolder),
                 QFile::encodeName(m_started->folder.path()) + '/');
        const int poured = ::open(gbk.constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(poured >= 0 && file.open(poured, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        QVERIFY(file.readAll().contains("lock=\"1\""));
    }

    void heldNotesAreSkippedWhenChosen() {
        // The second of three notes is held.
        const QByteArray held = "<lyric><![CDATA[-]]></lyric>";
        const QByteArray song =
            test::GenerateVsqx({}).replace("<lyric><![CDATA[" + test::NoteLyric(1).toUtf8() + "]]></lyric>", held);
        test::WriteFile(m_song, song);
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|h a o|"));
        QWidget* writer = OpenWriter();
        QVERIFY(!Find<QCheckBox>(writer, "SkipHeld")->isChecked());
        test::Click(writer, "SkipHeld");
        Find<QLineEdit>(writer, "VSQXPath")->setText(m_song);
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].informativeText, QStringLiteral("写入了 2 个音符；跳过了 1 个延音音符。"));
        const QByteArray poured = test::ReadFile(m_song);
        QVERIFY(poured.contains(held) && poured.contains("<phnms><![CDATA[" + test::NotePhonemes(1).toUtf8() + "]]>"));
        // The choice outlives the window, and stays out of the settings file.
        writer->close();
        QVERIFY(Find<QCheckBox>(OpenWriter(), "SkipHeld")->isChecked());
        Writer()->close();
        m_started->window->close();
        QCOMPARE(test::ReadFile(m_started->settingsPath).count('\n'), 4);
    }

    void outcomesAndTheEnablingChain_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file at the path
        QTest::addColumn<bool>("diskFullAtTheEnd");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("state"); // of the progress window left open; null: none was shown
        QTest::addColumn<double>("valueInLines");
        const QByteArray song = test::GenerateVsqx({});
        const QString failed = kUnexpectedFailureText.toString();
        QTest::newRow("missing") << QByteArray() << false << kVsqxNotFoundText.toString() << QString() << 0.0;
        QTest::newRow("not a VSQX") << QByteArray("<vsq3/>\r\n") << false << kNotVsqxText.toString() << QString()
                                    << 0.0;
        QTest::newRow("phonemes unclosed")
            << QByteArray(song).replace("</phnms>", "</phnm>") << false << failed << kProcessingState.toString() << 1.0;
        QTest::newRow("disk full") << song << true << failed << kExportingState.toString() << 1.6;
    }
    void outcomesAndTheEnablingChain() {
        QFETCH(QByteArray, file);
        QFETCH(bool, diskFullAtTheEnd);
        QFETCH(QString, text);
        QFETCH(QString, state);
        QFETCH(double, valueInLines);
        if (!file.isNull())
            test::WriteFile(m_song, file);
        const QString phonetic = QStringLiteral("J i|h a o|");
        m_started->Find<TextPane>("VPhonetic")->setPlainText(phonetic);
        QWidget* writer = OpenWriter();
        Find<QLineEdit>(writer, "VSQXPath")->setText(m_song);
        {
            QByteArray joined = file;
            JoinFileLines(joined);
            std::optional<test::FileSizeLimit> full;
            if (diskFullAtTheEnd)
                full.emplace(PutPhoneticToVSQX(joined, phonetic).text.size() + 1); // one byte short
            QTest::keyClick(writer, Qt::Key_Return);
        }

        QCOMPARE(m_started->messages.size(), 1u);
        const MessageBox::Message& message = m_started->messages[0];
        QCOMPARE(message.text, text);
        QCOMPARE(message.icon, text == kUnexpectedFailureText ? MessageBox::Icon::Error : MessageBox::Icon::Warning);
        QCOMPARE(message.detailedText.isEmpty(), message.icon != MessageBox::Icon::Error);
        QCOMPARE(test::ReadFile(m_song), file.isNull() ? QByteArray("<unreadable>") : file);
        auto* waiting = writer->findChild<Waiting*>();
        QCOMPARE(waiting != nullptr, !state.isNull());
        QCOMPARE(writer->isEnabled(), state.isNull());
        if (!waiting)
            return;
        QVERIFY(waiting->isVisible() && waiting->isEnabled());
        QCOMPARE(Find<QLabel>(waiting, "State")->text(), state);
        QCOMPARE(waiting->Maximum(), 2 * Lines(file));
        QCOMPARE(waiting->Value(), valueInLines * Lines(file));
        waiting->close();
        QVERIFY(writer->isEnabled());
    }

    void aRunGoesOnWhenItsWindowsAreClosed() {
        test::WriteFile(m_song, test::GenerateVsqx({}));
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        QWidget* writer = OpenWriter();
        Find<QLineEdit>(writer, "VSQXPath")->setText(m_song);
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
        QCOMPARE(m_started->messages[0].text, kPourCompletedText.toString());
        QVERIFY(ownerEnabled);
        QCOMPARE(test::ReadFile(m_song).count("lock=\"1\""), 1);
        QVERIFY(m_started->window->isEnabled());
        QTRY_VERIFY(!Writer());
    }

    void aVprProjectIsPouredLikeAVsqxFile() {
        using test::VprLayout;
        const QTemporaryDir folder;
        const QByteArray project = test::GenerateVpr(
            VprLayout::Version6,
            test::GenerateSequence(VprLayout::Version6, test::GenerateVprNotes(VprLayout::Version6, 3)));
        const QString song = test::WriteFile(folder.filePath(QStringLiteral("song.vpr")), project);
        StartWith(song);
        QCOMPARE(
            m_started->Find<QFileDialog>("CommonDialog")->nameFilters(),
            QStringList({QStringLiteral("所有支持的文件 (*.vsqx *.vpr)"), QStringLiteral("VOCALOID5/6 工程(*.vpr)"),
                         QStringLiteral("VOCALOID3序列(*.vsqx)"), QStringLiteral("所有文件 (*)")}));
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|h a o[-OPE]|"));
        QWidget* writer = OpenWriter();
        QCOMPARE(Find<QLineEdit>(writer, "VSQXPath")->text(), song);
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].text, kPourCompletedText.toString());
        QCOMPARE(m_started->messages[0].informativeText,
                 QStringLiteral("写入了 2 个音符；还有 1 个音符没有写入音标。"));
        const QByteArray sequence = test::ZipRecords(test::ReadFile(song)).front().content;
        QVERIFY(sequence.contains(R"("lyric":"a","phoneme":"h a o","langID":0,"isProtected":true)"));
        QVERIFY(sequence.contains(R"("velocity":64,"exp":{"opening":0})"));
    }

private:
    QWidget* Writer() const { return m_started->window->findChild<QWidget*>(QStringLiteral("PhoneticWriter")); }

    void StartWith(const QString& fileToOpen) {
        m_started.reset(); // before the next window, whose message hook its end would clear
        m_started = std::make_unique<WindowUnderTest>(QByteArray(), fileToOpen);
        m_started->ShowPage(1);
    }

    QWidget* OpenWriter() {
        test::Click(m_started->window.get(), "PutPhonetic");
        return Find<QWidget>(m_started->window.get(), "PhoneticWriter");
    }

    std::unique_ptr<WindowUnderTest> m_started;
    QString m_song;
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::PhoneticWriterTest)
#include "phonetic_writer_test.moc"
