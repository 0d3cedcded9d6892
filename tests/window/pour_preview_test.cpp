// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/preferences.h"
#include "core/vsqx/note_lyrics.h"
#include "support/song_with_lyrics.h"
#include "support/window_under_test.h"
#include "window/text_pane.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace lirobel::window {

using test::Find;

class PourPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        settings::WritePreference(settings::kFromNotesPreference, false);
        m_started = std::make_unique<test::WindowUnderTest>();
        m_started->ShowPage(1);
        m_song = test::WriteFile(
            m_started->folder.filePath(QStringLiteral("song.vsqx")),
            test::SongWithLyrics(test::SongFormat::Vsqx4, {QStringLiteral("你"), QStringLiteral("-"),
                                                           QStringLiteral("la"), QStringLiteral("好")}));
    }
    void cleanup() { m_started.reset(); }

    // The items of the pane meet the notes by count: the second lands on a held note, and the last hanzi
    // takes none. The preview shows and marks both, and leaves the file as it was.
    void previewMarksWhereLyricsAndItemsDisagree() {
        m_started->Find<TextPane>("VPhonetic")->setPlainText(QStringLiteral("J i|h a o|"));
        QWidget* writer = OpenWriter();
        const QByteArray before = test::ReadFile(m_song);
        const QDateTime modified = QFileInfo(m_song).lastModified();
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
        QCOMPARE(test::ReadFile(m_song), before);
        QCOMPARE(QFileInfo(m_song).lastModified(), modified);
    }

    // With the choice on, the writer opens on an empty phonetic pane and pours from the notes' hanzi.
    void pourFromTheNotesWithoutThePane() {
        settings::WritePreference(settings::kFromNotesPreference, true);
        QWidget* writer = OpenWriter();
        QVERIFY(m_started->messages.empty());
        QVERIFY(Find<QCheckBox>(writer, "FromNotes")->isChecked());
        QVERIFY(!Find<QCheckBox>(writer, "SkipHeld")->isEnabled());
        test::Click(writer, "Begin");
        QCOMPARE(m_started->messages.size(), 1u);
        QCOMPARE(m_started->messages[0].informativeText,
                 QStringLiteral("写入了 2 个音符；跳过了 1 个延音音符；1 个音符的歌词不是单个汉字，保持不变。"));
        QStringList lyrics;
        for (const vsqx::NoteLyric& note : vsqx::ReadVsqxLyrics(test::ReadFile(m_song)).notes)
            lyrics.append(note.lyric);
        QCOMPARE(lyrics,
                 (QStringList{QStringLiteral("a"), QStringLiteral("-"), QStringLiteral("la"), QStringLiteral("a")}));
    }

private:
    QWidget* OpenWriter() {
        test::Click(m_started->window.get(), "PutPhonetic");
        auto* writer = m_started->window->findChild<QWidget*>(QStringLiteral("PhoneticWriter"));
        if (!writer || !writer->isVisible())
            qFatal("the writer did not open");
        Find<QLineEdit>(writer, "VSQXPath")->setText(m_song);
        return writer;
    }

    std::unique_ptr<test::WindowUnderTest> m_started;
    QString m_song;
};

} // namespace lirobel::window

QTEST_MAIN(lirobel::window::PourPreviewTest)
#include "pour_preview_test.moc"
