// SPDX-License-Identifier: GPL-3.0-or-later
// The writer window as a user works it, by mouse, keyboard and drops; the pour itself is the core's and
// is tested there: here it only has to be given the pane, the path and the choices, and be reported, and
// its preview has to show and mark what it would write.
#include "core/files/native_path.h"
#include "core/settings/preferences.h"
#include "core/vpr/pour_song.h"
#include "support/song_with_lyrics.h"
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
#include <QTableWidget>
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
    const QByteArray song = test::GenerateVsqx({});
    if (kind == u"held")
        return QByteArray(song).replace("[" + test::NoteLyric(1).toUtf8() + "]]></lyric>", "[-]]></lyric>");
    if (kind == u"project")
        return test::GenerateVpr(test::VprLayout::Version6, 3);
    if (kind == u"not VSQX")
        return "<vsq3/>\r\n";
    if (kind == u"unclosed")
        return QByteArray(song).replace("</phnms>", "</phnm>");
    if (kind == u"lyrics")
        return test::SongWithLyrics(test::SongFormat::Vsqx4, {QStringLiteral("你"), QStringLiteral("-"),
                                                              QStringLiteral("la"), QStringLiteral("好")});
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
        settings::WritePreference(settings::kFromNotesPreference, false);
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

        // The song has a name in GBK; beside it, the file that Qt's decoding of that name would give.
        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(m_song, song);
        QDir(m_started->folder.path()).mkdir(QStringLiteral("sub"));
        const QByteArray sub = QFile::encodeName(m_started->folder.filePath(QStringLiteral("sub/")));
        const QByteArray gbk = sub + "\xb8\xe8.vsqx";
        test::WriteNativeFile(gbk, song);
        const QString replacement = test::WriteFile(QFile::decodeName(sub) + QStringLiteral("\uFFFD.vsqx"), song);
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
        // The file dialog can only show the GBK name with U+FFFD: a choice of it is refused.
        AnswerFileDialog(this, replacement);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(m_started->messages.size(), 2u);
        QCOMPARE(m_started->messages[1].icon, MessageBox::Icon::Error);
        QCOMPARE(path->text() + lastFolder, QStringLiteral("C:\\"));
        AnswerFileDialog(this, m_song);
        test::Click(writer, "ReadVSQX");
        QCOMPARE(path->text() + u' ' + lastFolder, m_song + u' ' + m_started->folder.path() + u'/');
        // A drop brings the name's bytes.
        Drop(writer, gbk);
        QCOMPARE(files::NativeFromPath(lastFolder), sub);

        // The windows as they stand while the completion message is up, before the progress window closes.
        bool chainHeld = false;
        m_started->onMessage = [&](const MessageBox::Message&) {
            auto* waiting = writer->findChild<Waiting*>();
            chainHeld = waiting && waiting->isVisible() && waiting->isEnabled() && !writer->isEnabled() &&
                        !main->isEnabled() && waiting->Value() == waiting->Maximum() && waiting->Maximum() > 0;
        };
        QTest::keyClick(writer, Qt::Key_Return);
        QCOMPARE(m_started->messages.size(), 3u);
        QCOMPARE(m_started->messages[2].informativeText,
                 QStringLiteral("写入了 2 个音符；还有 1 个音符没有写入音标。"));
        QVERIFY(chainHeld && writer->isEnabled());
        QVERIFY(!writer->findChild<Waiting*>() || !writer->findChild<Waiting*>()->isVisible());
        QVERIFY(test::ReadNativeFile(gbk).contains("lock=\"1\""));
        QVERIFY(test::ReadFile(replacement) == song && test::ReadFile(m_song) == song);

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
        QCOMPARE(QDir(next.Find<QFileDialog>("CommonDialog")->directory()), QDir(QFile::decodeName(sub)));
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

    void outcomesAndTheEnablingChain_data() { test::AddCaseRows("pour", LIROBEL_TEST_DATA "/window_cases.tsv"); }
    void outcomesAndTheEnablingChain() {
        const auto [song, choice, text, counts, state] = test::Fields<5>();
        const bool fromNotes = choice == u"from notes";
        const QString phonetic = fromNotes ? QString() : QStringLiteral("J i|h a o|");
        const QString reference = m_started->folder.filePath(QStringLiteral("reference"));
        if (const QByteArray file = Song(song); !file.isNull()) {
            test::WriteFile(m_song, file);
            test::WriteFile(reference, file);
        }
        // Pouring from the notes, the writer opens on an empty phonetic pane, and held notes are the notes'.
        settings::WritePreference(settings::kFromNotesPreference, fromNotes);
        QWidget* writer = OpenWriter(phonetic);
        auto* skipHeld = Find<QCheckBox>(writer, "SkipHeld");
        QCOMPARE(skipHeld->isEnabled(), !fromNotes);
        skipHeld->setChecked(choice == u"skip held");
        PathBox(writer)->setText(m_song);
        QTest::keyClick(writer, Qt::Key_Return);

        QCOMPARE(m_started->messages.size(), 1u);
        const MessageBox::Message& message = m_started->messages[0];
        QCOMPARE(message.text, text);
        QCOMPARE(message.informativeText, counts);
        using Icon = MessageBox::Icon;
        QCOMPARE(message.icon, !state.isEmpty() ? Icon::Error : counts.isEmpty() ? Icon::Warning : Icon::Information);
        QCOMPARE(message.detailedText.isEmpty(), state.isEmpty());
        // The file is what the pour makes of it with the pane's text and the choices.
        vsqx::PourOptions options;
        options.skipHeld = choice == u"skip held";
        options.fromNotes = fromNotes;
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

    // The items of the pane meet the notes by count: the second lands on a held note, and the last hanzi
    // takes none. The preview shows and marks both, and leaves the file as it was.
    void previewMarksWhereLyricsAndItemsDisagree() {
        test::WriteFile(m_song, Song(QStringLiteral("lyrics")));
        QWidget* writer = OpenWriter(QStringLiteral("J i|h a o|"));
        PathBox(writer)->setText(m_song);
        test::Click(writer, "Preview");
        auto* preview = Find<QDialog>(writer, "PourPreview");
        auto* table = Find<QTableWidget>(preview, "PreviewNotes");
        QCOMPARE(table->rowCount(), 4);
        QStringList items;
        QList<bool> marked;
        for (int row = 0; row < 4; ++row) {
            items.append(table->item(row, 3)->text());
            marked.append(table->item(row, 0)->background().style() != Qt::NoBrush);
        }
        QCOMPARE(items, (QStringList{QStringLiteral("J i"), QStringLiteral("h a o"), QStringLiteral("(no item left)"),
                                     QStringLiteral("(no item left)")}));
        QCOMPARE(marked, (QList<bool>{false, true, false, true}));
        QVERIFY(Find<QLabel>(preview, "PreviewCounts")->text().contains(QStringLiteral("标红的 2 个音符")));
        QCOMPARE(test::ReadFile(m_song), Song(QStringLiteral("lyrics")));
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
