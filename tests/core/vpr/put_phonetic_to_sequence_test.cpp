// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/put_phonetic_to_sequence.h"
#include "core/vpr/sequence_json.h"

#include <gtest/gtest.h>

namespace lirobel::vpr {
namespace {

QByteArray InOnePart(const QByteArray& notes) {
    return R"({"tracks":[{"type":0,"parts":[{"notes":[)" + notes + "]}]}]}";
}

struct NoteCase {
    const char* name;
    QByteArray notes;
    const char16_t* items;
    QByteArray expected;
    int written;
    int itemsLeft = 0;
    int notesLeft = 0;
    bool skipHeld = false;
    int held = 0;

    friend void PrintTo(const NoteCase& row, std::ostream* os) { *os << row.name; }
};

class NoteRewriteTest : public testing::TestWithParam<NoteCase> {};

TEST_P(NoteRewriteTest, EditsOnlyWhatThePourIsAbout) {
    const NoteCase& row = GetParam();
    const QByteArray json = InOnePart(row.notes);
    const SequenceScan scan = ScanSequence(json);
    ASSERT_TRUE(scan.valid) << scan.failure.toStdString();
    const vsqx::PhoneticRewrite rewrite = PutPhoneticToSequence(json, scan, row.items, {row.skipHeld});
    ASSERT_TRUE(rewrite.ok) << rewrite.failure.toStdString();
    EXPECT_EQ(rewrite.text, InOnePart(row.expected));
    EXPECT_EQ(rewrite.notesWritten, row.written);
    EXPECT_EQ(rewrite.itemsLeft, row.itemsLeft);
    EXPECT_EQ(rewrite.notesLeft, row.notesLeft);
    EXPECT_EQ(rewrite.heldSkipped, row.held);
    EXPECT_EQ(rewrite.notesFound, row.written + row.notesLeft + row.held);
}

constexpr char kEditorNote[] =
    R"({"lyric":"god","phoneme":"gh Q d","isProtected":false,"pos":0,"duration":719,"number":59,"velocity":64,"exp":{"opening":127},"singingSkill":{"duration":237,"weight":{"pre":64,"post":64}},"vibrato":{"type":0,"duration":0}})";
constexpr char kPlain[] = R"({"lyric":"la","phoneme":"l a","isProtected":false})";
constexpr char kHeld[] = R"({"lyric":"-","phoneme":"-","isProtected":false})";
constexpr char kWritten[] = R"({"lyric":"a","phoneme":"k a","isProtected":true})";

INSTANTIATE_TEST_SUITE_P(
    Notes, NoteRewriteTest,
    testing::Values(
        NoteCase{
            "editorNote", kEditorNote, u"k a|",
            R"({"lyric":"a","phoneme":"k a","isProtected":true,"pos":0,"duration":719,"number":59,"velocity":64,"exp":{"opening":127},"singingSkill":{"duration":237,"weight":{"pre":64,"post":64}},"vibrato":{"type":0,"duration":0}})",
            1},
        NoteCase{
            "markedItemClosesOpening", kEditorNote, u"k a[-OPE]|",
            R"({"lyric":"a","phoneme":"k a","isProtected":true,"pos":0,"duration":719,"number":59,"velocity":64,"exp":{"opening":0},"singingSkill":{"duration":237,"weight":{"pre":64,"post":64}},"vibrato":{"type":0,"duration":0}})",
            1},
        NoteCase{
            "expAddedAfterVelocity",
            R"({"lyric":"la","phoneme":"l a","langID":0,"isProtected":false,"velocity":64,"aiExp":{}})", u"k a[-OPE]|",
            R"({"lyric":"a","phoneme":"k a","langID":0,"isProtected":true,"velocity":64,"exp":{"opening":0},"aiExp":{}})",
            1},
        NoteCase{
            "openingAddedToExp",
            R"({"lyric":"la","phoneme":"l a","isProtected":false,"exp":{"accent":50}},{"lyric":"la","phoneme":"l a","exp":{ }})",
            u"k a[-OPE]|k a[-OPE]|",
            R"({"lyric":"a","phoneme":"k a","isProtected":true,"exp":{"opening":0,"accent":50}},{"lyric":"a","phoneme":"k a","isProtected":true,"exp":{"opening":0 }})",
            2},
        NoteCase{"expThatIsNoObjectReplaced", R"({"phoneme":"l a","lyric":"la","exp":null})", u"k a[-OPE]|",
                 R"({"phoneme":"k a","isProtected":true,"lyric":"a","exp":{"opening":0}})", 1},
        NoteCase{"expLastWithoutVelocity", R"({"lyric":"la","phoneme":"l a"})", u"k a[-OPE]|",
                 R"({"lyric":"a","phoneme":"k a","isProtected":true,"exp":{"opening":0}})", 1},
        NoteCase{
            "phonemePositionsOfChangedPhonemesGo",
            R"({"phonemePositions":[{"pos":0}],"lyric":"la","phoneme":"l a","isProtected":false},{"lyric":"la","phoneme":"l a","phonemePositions":[{"pos":0}],"isProtected":false},{"lyric":"la","phoneme":"k a","isProtected":false,"phonemePositions":[]})",
            u"k a|k a[-OPE]|k a|",
            R"({"lyric":"a","phoneme":"k a","isProtected":true},{"lyric":"a","phoneme":"k a","isProtected":true,"exp":{"opening":0}},{"lyric":"a","phoneme":"k a","isProtected":true,"phonemePositions":[]})",
            3},
        NoteCase{"spacesKept", "{ \"lyric\" : \"la\" ,\n \"phoneme\" : \"l a\" ,\n \"phonemePositions\" : [ ] \n}",
                 u"k a|", "{ \"lyric\" : \"a\" ,\n \"phoneme\" : \"k a\",\"isProtected\":true \n}", 1},
        NoteCase{"attackProtectionUntouched",
                 R"({"lyric":"la","phoneme":"l a","dvqm":{"attack":{"isProtected":false}}})", u"k a|",
                 R"({"lyric":"a","phoneme":"k a","isProtected":true,"dvqm":{"attack":{"isProtected":false}}})", 1},
        NoteCase{"itemsEscaped", kPlain, u"p\\ M\"x 中|", R"({"lyric":"a","phoneme":"p\\ M\"x 中","isProtected":true})",
                 1},
        NoteCase{"heldNotesSkipped", QByteArray(kPlain) + "," + kHeld + "," + kPlain, u"k a|k a|",
                 QByteArray(kWritten) + "," + kHeld + "," + kWritten, 2, 0, 0, true, 1},
        NoteCase{"heldNotesTakeItemsUnlessSkipped", QByteArray(kPlain) + "," + kHeld + "," + kPlain, u"k a|k a|",
                 QByteArray(kWritten) + "," + kWritten + "," + kPlain, 2, 0, 1},
        NoteCase{"itemsLeftOver", kPlain, u"k a|s a|", kWritten, 1, 1},
        NoteCase{"emptyItemEndsThePour", QByteArray(kPlain) + "," + kPlain, u"k a||s a|",
                 QByteArray(kWritten) + "," + kPlain, 1, 2, 1},
        NoteCase{"lastItemWithoutBarIsNoItem", kPlain, u"k a", kPlain, 0, 0, 1}));

TEST(PutPhoneticToSequence, TakesNotesOfSingingTracksInOrder) {
    const QByteArray json =
        R"({"tracks":[{"type":1,"parts":[{"notes":[{"lyric":"x","phoneme":"x"}]}]},{"parts":[{"notes":[{"lyric":"x","phoneme":"x"}]},{}]},{"type":0},{"type":2,"parts":[{"notes":[{"lyric":"x","phoneme":"x"}]}]}]})";
    const vsqx::PhoneticRewrite rewrite = PutPhoneticToSequence(json, ScanSequence(json), u"a|b|");
    EXPECT_EQ(
        rewrite.text,
        R"({"tracks":[{"type":1,"parts":[{"notes":[{"lyric":"x","phoneme":"x"}]}]},{"parts":[{"notes":[{"lyric":"a","phoneme":"a","isProtected":true}]},{}]},{"type":0},{"type":2,"parts":[{"notes":[{"lyric":"a","phoneme":"b","isProtected":true}]}]}]})");
}

TEST(PutPhoneticToSequence, RefusesWhatTheSequenceCannotTake) {
    const QByteArray json = InOnePart(R"({"lyric":"la","phoneme":"l a"},{"lyric":"la"})");
    const SequenceScan scan = ScanSequence(json);
    const struct {
        const char16_t* items;
        const char* failure;
    } rows[] = {{u"k a|s\ta|", "item 2 holds U+0009, a control character"},
                {u"k a|s a|", "note 2 has no phoneme to take item 2"}};
    for (const auto& row : rows) {
        const vsqx::PhoneticRewrite rewrite = PutPhoneticToSequence(json, scan, row.items);
        EXPECT_FALSE(rewrite.ok);
        EXPECT_EQ(rewrite.failure.toStdString(), row.failure);
    }
    EXPECT_TRUE(UnwritableJsonItemCause(u"k a|\"\\]]>|\n").isEmpty()); // the last "item" lacks its "|"
}

TEST(ScanSequence, TakesJsonAndNothingElse) {
    const struct {
        QByteArray text;
        bool valid;
        bool hasTracks;
    } rows[] = {
        {R"({"tracks":[]})", true, true},
        {"\xEF\xBB\xBF {\"title\":\"\\u00e9\\n\",\"tracks\" : [ ] }\n", true, true},
        {R"({"tracks":{}})", true, false},
        {R"([{"tracks":[]}])", true, false},
        {R"({"n":[-0.46666666865348818e+2,0,1E3,true,false,null]})", true, false},
        {"", false, false},
        {R"({"tracks":[})", false, false},
        {R"({"tracks":[]} {})", false, false},
        {R"({"tracks":[],})", false, false},
        {R"({"a":[1,]})", false, false},
        {R"({"a":01})", false, false},
        {R"({"a":1.})", false, false},
        {R"({"a":tru})", false, false},
        {R"({"a":"\q"})", false, false},
        {R"({"a":"\u12"})", false, false},
        {"{\"a\":\"\x01\"}", false, false},
        {R"({"a":"open})", false, false},
        {R"({"tracks":[{"parts":[{"notes":[{"lyric":"a",}]}]}]})", false, false},
        {QByteArray(200000, '['), false, false},
        {QByteArray(100000, '[') + QByteArray(100000, ']'), true, false},
    };
    for (const auto& row : rows) {
        const SequenceScan scan = ScanSequence(row.text);
        EXPECT_EQ(scan.valid, row.valid) << row.text.left(80).toStdString();
        EXPECT_EQ(scan.hasTracks, row.hasTracks) << row.text.left(80).toStdString();
        EXPECT_EQ(scan.failure.isEmpty(), row.valid) << row.text.left(80).toStdString();
    }
}

} // namespace
} // namespace lirobel::vpr
