// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text_pane.h"
#include "support/test_files.h"
#include "support/window_under_test.h"
#include "vsqx/file_lines.h"
#include "vsqx/pour_run.h"
#include "vsqx/pour_texts.h"
#include "vsqx/put_phonetic_to_vsqx.h"
#include "vsqx/waiting.h"
#include "vsqx_generator.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace lirobel::vsqx {

using app::MessageBox;
using app::TextPane;
using test::WindowUnderTest;

namespace {

const QString kSong = QStringLiteral("song.vsqx");

// Answers the file dialog that the next step opens: chooses path, or cancels when it is null.
void AnswerFileDialog(QObject* context, const QString& path) {
    QTimer::singleShot(0, context, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == u"CommonDialog" && dialog->isEnabled());
        if (path.isNull()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

void Drop(QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

// The number of lines that the run counts in a file.
double Lines(const QByteArray& file) {
    return static_cast<double>(CountFileLines(file));
}

} // namespace

class PhoneticWriterTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_started = std::make_unique<WindowUnderTest>();
        m_started->Find<QTabWidget>("TabStrip")->setCurrentIndex(1);
        m_started->messages.clear();
        m_song = m_started->folder.filePath(kSong);
    }
    void cleanup() { m_started.reset(); }

    void putPhoneticWarnsWhenThereIsNothingToPour() {
        QTest::mouseClick(m_started->Find<QPushButton>("PutPhonetic"), Qt::LeftButton);
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].icon, MessageBox::Icon::Warning);
        QCOMPARE(m_started->messages[0].text,
                 QStringLiteral("没有VOCALOID音标！请将拼音转换为VOCALOID音标后在使用此功能！"));
        QVERIFY(!Writer());
        QVERIFY(m_started->window->isEnabled());
    }

    void fromChineseLyricsIntoAVsqxFile() {
        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(m_song, song);
        m_started->Find<TextPane>("ChineseText")->setPlainText(QStringLiteral("你好"));
        QTest::mouseClick(m_started->Find<QPushButton>("Begin2"), Qt::LeftButton);
        QWidget* writer = OpenWriter();
        QVERIFY(writer->isVisible() && writer->isEnabled() && !m_started->window->isEnabled());
        QVERIFY(!m_started->window->close());
        QCOMPARE(writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->text(), QString());
        QCOMPARE(writer->focusWidget(), writer->findChild<QPushButton*>(QStringLiteral("Begin")));

        AnswerFileDialog(this, m_song);
        QTest::mouseClick(writer->findChild<QPushButton*>(QStringLiteral("ReadVSQX")), Qt::LeftButton);
        QCOMPARE(writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->text(), m_song);
        QCOMPARE(m_started->window->settings().LastFolder, m_started->folder.path() + u'/');

        // What the windows show while the completion message is up, before the progress window closes.
        bool chainHeld = false;
        m_started->onMessage = [&](const MessageBox::Message&) {
            auto* waiting = writer->findChild<Waiting*>();
            chainHeld = waiting && waiting->isVisible() && waiting->isEnabled() && !writer->isEnabled() &&
                        !m_started->window->isEnabled() && waiting->Value() == 2 * Lines(song) &&
                        waiting->Maximum() == 2 * Lines(song);
        };
        QTest::mouseClick(writer->findChild<QPushButton*>(QStringLiteral("Begin")), Qt::LeftButton);

        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].icon, MessageBox::Icon::Information);
        QCOMPARE(m_started->messages[0].text, QStringLiteral("VOCALOID音标灌入完成！"));
        QCOMPARE(m_started->messages[0].informativeText,
                 QStringLiteral("写入了 2 个音符；还有 1 个音符没有写入音标。"));
        QVERIFY(chainHeld);
        const QString reference = m_started->folder.filePath(QStringLiteral("reference.vsqx"));
        test::WriteFile(reference, song);
        PourProgress quiet;
        PourPhoneticIntoFile(reference, m_started->Find<TextPane>("VPhonetic")->text(), quiet);
        QCOMPARE(test::ReadFile(m_song), test::ReadFile(reference));
        QTRY_VERIFY(!writer->findChild<Waiting*>());
        QVERIFY(writer->isEnabled());
        QCOMPARE(writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->text(), m_song);

        writer->close();
        QVERIFY(m_started->window->isEnabled());
        QTRY_VERIFY(!Writer());
        QCOMPARE(OpenWriter()->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->text(), QString());
    }

    void choosingSetsThePathAndTheFolder() {
        const QString other = m_started->folder.filePath(QStringLiteral("sub/other.vsqx"));
        QDir(m_started->folder.path()).mkdir(QStringLiteral("sub"));
        test::WriteFile(other, "x");
        test::WriteFile(m_song, "x");
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("\n"));
        QWidget* writer = OpenWriter();
        auto* path = writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"));
        auto* choose = writer->findChild<QPushButton*>(QStringLiteral("ReadVSQX"));
        QString& lastFolder = m_started->window->settings().LastFolder;

        AnswerFileDialog(this, other);
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(path->text(), other);
        QCOMPARE(lastFolder, m_started->folder.filePath(QStringLiteral("sub/")));
        AnswerFileDialog(this, QString());
        QTest::mouseClick(choose, Qt::LeftButton);
        QCOMPARE(path->text(), other);
        QCOMPARE(lastFolder, m_started->folder.filePath(QStringLiteral("sub/")));
        Drop(writer, m_song);
        QCOMPARE(path->text(), m_song);
        QCOMPARE(lastFolder, m_started->folder.path() + u'/');

        // The next start of the program opens the dialog in the folder chosen last.
        writer->close();
        m_started->window->close();
        const WindowUnderTest next(test::ReadFile(m_started->settingsPath));
        QCOMPARE(QDir(next.Find<QFileDialog>("CommonDialog")->directory()), QDir(m_started->folder.path()));
    }

    void outcomesAndTheEnablingChain_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file at the path
        QTest::addColumn<bool>("diskFullAtTheEnd");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("state"); // of the progress window left open; null: none was shown
        QTest::addColumn<double>("valueInLines");
        const QByteArray song = test::GenerateVsqx({});
        QByteArray unclosed = song;
        unclosed.replace("</phnms>", "</phnm>");
        const auto warning = static_cast<int>(MessageBox::Icon::Warning);
        const auto error = static_cast<int>(MessageBox::Icon::Error);
        QTest::newRow("missing") << QByteArray() << false << warning << kVsqxNotFoundText.toString() << QString()
                                 << 0.0;
        QTest::newRow("not a VSQX") << QByteArray("<vsq3/>\r\n") << false << warning << kNotVsqxText.toString()
                                    << QString() << 0.0;
        QTest::newRow("phonemes unclosed")
            << unclosed << false << error << kUnexpectedFailureText.toString() << kProcessingState.toString() << 1.0;
        QTest::newRow("disk full") << song << true << error << kUnexpectedFailureText.toString()
                                   << kExportingState.toString() << 1.6;
    }
    void outcomesAndTheEnablingChain() {
        QFETCH(QByteArray, file);
        QFETCH(bool, diskFullAtTheEnd);
        QFETCH(int, icon);
        QFETCH(QString, text);
        QFETCH(QString, state);
        QFETCH(double, valueInLines);
        if (!file.isNull())
            test::WriteFile(m_song, file);
        const QString phonetic = QStringLiteral("J i|h a o|");
        m_started->Find<TextPane>("VPhonetic")->setPlainText(phonetic);
        QWidget* writer = OpenWriter();
        writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->setText(m_song);
        {
            QByteArray joined = file;
            JoinFileLines(joined);
            const qsizetype rewritten = PutPhoneticToVSQX(joined, phonetic).text.size() + 2;
            std::optional<test::FileSizeLimit> full;
            if (diskFullAtTheEnd)
                full.emplace(rewritten - 1);
            QTest::keyClick(writer, Qt::Key_Return);
        }

        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(static_cast<int>(m_started->messages[0].icon), icon);
        QCOMPARE(m_started->messages[0].text, text);
        QCOMPARE(m_started->messages[0].detailedText.isEmpty(), icon != static_cast<int>(MessageBox::Icon::Error));
        QCOMPARE(test::ReadFile(m_song), file.isNull() ? QByteArray("<unreadable>") : file);
        auto* waiting = writer->findChild<Waiting*>();
        QCOMPARE(waiting != nullptr, !state.isNull());
        QVERIFY(!m_started->window->isEnabled());
        QCOMPARE(writer->isEnabled(), state.isNull());
        if (!waiting)
            return;
        QVERIFY(waiting->isVisible() && waiting->isEnabled());
        QCOMPARE(waiting->findChild<QLabel*>(QStringLiteral("State"))->text(), state);
        QCOMPARE(waiting->Maximum(), 2 * Lines(file));
        QCOMPARE(waiting->Value(), valueInLines * Lines(file));
        waiting->close();
        QVERIFY(writer->isEnabled());
    }

    void aRunGoesOnWhenItsWindowsAreClosed() {
        const QByteArray song = test::GenerateVsqx({});
        test::WriteFile(m_song, song);
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|"));
        QWidget* writer = OpenWriter();
        writer->findChild<QLineEdit*>(QStringLiteral("VSQXPath"))->setText(m_song);
        auto* begin = writer->findChild<QPushButton*>(QStringLiteral("Begin"));
        // Runs as soon as the run lets the event loop in, once its progress window shows.
        QTimer::singleShot(0, this, [&] {
            writer->findChild<Waiting*>()->close();
            writer->close();
            begin->click();
            QVERIFY(!writer->isEnabled());
        });
        begin->click();

        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].text, kPourCompletedText.toString());
        QCOMPARE(test::ReadFile(m_song).count("lock=\"1\""), 1);
        QVERIFY(m_started->window->isEnabled());
        QTRY_VERIFY(!Writer());
    }

private:
    QWidget* Writer() const { return m_started->window->findChild<QWidget*>(QStringLiteral("PhoneticWriter")); }

    QWidget* OpenWriter() {
        QTest::mouseClick(m_started->Find<QPushButton>("PutPhonetic"), Qt::LeftButton);
        QWidget* writer = Writer();
        if (!writer)
            qFatal("the writer window did not open");
        return writer;
    }

    std::unique_ptr<WindowUnderTest> m_started;
    QString m_song;
};

} // namespace lirobel::vsqx

QTEST_MAIN(lirobel::vsqx::PhoneticWriterTest)
#include "phonetic_writer_test.moc"
