// Undo and redo in the window: every kind of change is one step that the keys and the Edit
// menu take back and bring again, through the same commit path as an edit.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QUndoStack>
#include <functional>

#include "device/frame.h"
#include "files/atomic_write.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/monitor_column.h"
#include "ui/window/parameter_undo.h"

#include "test_frames.h"

namespace korvan::testing {
namespace {

// The test's .ign file: the default set with LIMITER2 and EXT_MON changed and, when asked,
// one line the reader does not understand.
QString WriteIgnFile(const QString& name, const char* brokenLine = nullptr) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(KORVAN_DEFAULT_SET_IGN, text).ok);
    auto replace = [&text](const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace("LIMITER2      110 ", "LIMITER2       99 ");
    replace("EXT_MON         0", "EXT_MON         1");
    if (brokenLine != nullptr) replace("CLUTCH        200 ", brokenLine);
    QDir().mkpath(TFormHlav::SettingsFolder());
    const QString path = TFormHlav::SettingsFolder() + "/" + name;
    EXPECT_TRUE(WriteFileAtomically(path.toStdString(), text).ok);
    return path;
}

class UndoTest : public WindowTest {
  public:
    ParameterUndo& Undo() { return form->Undo(); }
    QUndoStack& Stack() { return form->Undo().Stack(); }
    bool Extended() { return Find<QCheckBox>("CheckBoxExtMonitor")->isChecked(); }
    void PressUndo() { QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier); }
    void PressRedo(bool withY) {
        if (withY) {
            QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
        } else {
            QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
    }
    void EngineAt(std::uint16_t rpm, std::uint8_t tps) {
        port.Queue(Monitor(rpm, tps));
        form->OnTick();
    }
    // The unit answers a Read with `unit`: the three pages, one tick each.
    void ReadFromUnit(const DeviceImage& unit) {
        QTest::keyClick(form.get(), Qt::Key_F7);
        for (std::size_t page = 0; page < kPageCount; ++page) {
            port.Queue(BuildFrame(static_cast<std::uint8_t>((kCmdReadPage | page) ^ kAnswerBit),
                                  unit.Page(page)));
            form->OnTick();
        }
    }
};

// The parameter pages: what a step holds. The unit's identity page stays as the unit sent it.
std::vector<std::uint8_t> Params(const DeviceImage& image) {
    return {image.bytes.begin() + kParamImageBegin,
            image.bytes.begin() + kParamImageBegin + kParamImageSize};
}

DeviceImage UnitImage() {
    DeviceImage unit;
    unit[field::BikeType] = 2;
    SetDefaults(unit);
    unit[field::ReadEnable] = 1;
    unit[field::FormatVersion] = kFormatVersion;
    unit[field::Limiter2] = 77;
    unit[field::Advance + 5] = 33;
    return unit;
}

TEST_F(UndoTest, EveryKindOfChangeIsOneStepThatUndoAndRedoTakeBackAndBring) {
    struct Case {
        const char* what;
        std::function<void(UndoTest&)> prepare;  // before the step, then the history is reset
        std::function<void(UndoTest&)> change;
        QString undoCaption;  // English
    } cases[] = {
        {"a field typed and left", nullptr,
         [](UndoTest& t) {
             t.TypeInto("EditOmez2", "9500");
             QTest::keyClick(t.Edit("EditOmez2"), Qt::Key_Tab);
         },
         "&Undo Parameter change"},
        {"a flag box clicked", nullptr,
         [](UndoTest& t) {
             auto* box = t.Find<QCheckBox>("CheckBoxRpm2Krat");
             t.ShowPageOf(box);
             QTest::mouseClick(box, Qt::LeftButton);
         },
         "&Undo Parameter change"},
        {"F5 at the cursor", [](UndoTest& t) { t.EngineAt(2600, 30); },
         [](UndoTest& t) { QTest::keyClick(t.form.get(), Qt::Key_F5); }, "&Undo Advance +"},
        {"a column spin",
         [](UndoTest& t) {
             auto* tps = t.Find<QCheckBox>("CheckBoxTpsMapa");
             t.ShowPageOf(tps);
             if (!tps->isChecked()) QTest::mouseClick(tps, Qt::LeftButton);
         },
         [](UndoTest& t) {
             emit t.Find<TCSpinButton>("CSpinButton3")
                 ->OnDownClick(t.Find<TCSpinButton>("CSpinButton3"));
         },
         "&Undo Column -"},
        {"New",
         [](UndoTest& t) {
             // A tune that is not the defaults, made a step from outside the editor.
             EXPECT_NE(t.form->Model().Replace(UnitImage(), ModelChange(CommitKind::TypedField)),
                       0u);
         },
         [](UndoTest& t) { QTest::keyClick(t.form.get(), Qt::Key_N, Qt::ControlModifier); },
         "&Undo New"},
        {"a bike type chosen", nullptr,
         [](UndoTest& t) { t.Find<QComboBox>("ComboBox1")->setCurrentIndex(4); },
         "&Undo Motorbike type"},
        {"a file opened", nullptr,
         [](UndoTest& t) {
             const QString path = WriteIgnFile("tune.ign");
             t.fileDialog = [path](QFileDialog&) { return path; };
             QTest::keyClick(t.form.get(), Qt::Key_F3);
         },
         "&Undo Open tune.ign"},
        {"a read from the unit", nullptr, [](UndoTest& t) { t.ReadFromUnit(UnitImage()); },
         "&Undo Read from unit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        if (c.prepare) {
            c.prepare(*this);
            Undo().Reset();
        }
        const DeviceImage before = form->Image();
        const bool extendedBefore = Extended();
        c.change(*this);
        const DeviceImage after = form->Image();
        const bool extendedAfter = Extended();
        ASSERT_NE(after, before);
        EXPECT_EQ(Stack().count(), 1);
        EXPECT_EQ(Undo().undoItem->text(), c.undoCaption);
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();

        PressUndo();
        EXPECT_EQ(Params(form->Image()), Params(before));
        EXPECT_EQ(Extended(), extendedBefore);
        EXPECT_EQ(Undo().redoItem->text(), "&Redo" + c.undoCaption.mid(5));
        EXPECT_FALSE(Undo().undoItem->isEnabled());
        PressRedo(true);
        EXPECT_EQ(Params(form->Image()), Params(after));
        EXPECT_EQ(Extended(), extendedAfter);
        PressUndo();
        PressRedo(false);
        EXPECT_EQ(Params(form->Image()), Params(after));
        // The controls show what the image holds: leaving a field now changes nothing.
        TypeInto("EditBaseAdv", Edit("EditBaseAdv")->text());
        QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Tab);
        EXPECT_EQ(Params(form->Image()), Params(after));
        EXPECT_EQ(Stack().count(), 1);
        form.reset();
        messages.clear();
    }
}

TEST_F(UndoTest, ACommitThatChangesNoByteIsNoStepAndTheOldestStepsGoBeyondTheLimit) {
    Open();
    TypeInto("EditOmez1", Edit("EditOmez1")->text());
    QTest::keyClick(Edit("EditOmez1"), Qt::Key_Tab);
    EngineAt(500, 0);  // below the axis: F5 changes nothing
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(Stack().count(), 0);
    EXPECT_FALSE(Undo().undoItem->isEnabled());
    EXPECT_EQ(Undo().undoItem->text(), "&Undo");

    const DeviceImage start = form->Image();
    auto* box = Find<QCheckBox>("CheckBoxRpm2Krat");
    ShowPageOf(box);
    constexpr int kClicks = ParameterUndo::kStepLimit + 5;
    for (int i = 0; i < kClicks; ++i) QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(Stack().count(), ParameterUndo::kStepLimit);
    for (int i = 0; i < kClicks; ++i) PressUndo();
    // Five steps went; the oldest kept one started with the box as five clicks left it.
    EXPECT_NE(form->Image()[field::Rpm2], start[field::Rpm2]);
    EXPECT_FALSE(Undo().undoItem->isEnabled());
}

TEST_F(UndoTest, CtrlZInAFieldGivesTypedTextBackBeforeItUndoesASteps) {
    Open();
    TypeInto("EditOmez2", "9500");
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_Tab);
    const DeviceImage afterEdit = form->Image();
    const QString committed = Edit("EditOmez2")->text();

    TypeInto("EditOmez2", "8000");
    ASSERT_TRUE(Edit("EditOmez2")->hasFocus());
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Edit("EditOmez2")->text(), committed);
    EXPECT_EQ(form->Image(), afterEdit);
    EXPECT_TRUE(Undo().undoItem->isEnabled());

    // Nothing typed any more: the same key in the same field undoes the step.
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(form->Image(), afterEdit);
    EXPECT_FALSE(Undo().undoItem->isEnabled());
    QTest::keyClick(Edit("EditOmez2"), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->Image(), afterEdit);
    EXPECT_EQ(Edit("EditOmez2")->text(), committed);
}

TEST_F(UndoTest, UndoProgramsTheUnitBackOnlyWithProgrammingAfterChange) {
    for (const bool programAfterChange : {false, true}) {
        SCOPED_TRACE(programAfterChange);
        Open();
        auto* option = Find<QCheckBox>("CheckBoxProgHned");
        ShowPageOf(option);
        if (programAfterChange) QTest::mouseClick(option, Qt::LeftButton);
        EngineAt(2600, 30);
        QTest::keyClick(form.get(), Qt::Key_F5);
        // Whatever the edit started is over before the undo.
        form->Link().EndOperationLineLost();
        ASSERT_EQ(form->Link().Mode(), OperationMode::None);
        PressUndo();
        EXPECT_EQ(form->Link().Mode(),
                  programAfterChange ? OperationMode::Program : OperationMode::None);
        form.reset();
    }
}

TEST_F(UndoTest, StepNamesAndTheEditMenuFollowTheLanguage) {
    struct Case {
        std::uint8_t language;
        QString menu, undo, redo;
    } cases[] = {
        {kLanguageCzech, "Úpr&avy", "&Zpět Předstih +", "Z&novu Otevřít tune.ign"},
        {kLanguageEnglish, "&Edit", "&Undo Advance +", "&Redo Open tune.ign"},
        {kLanguageGerman, "&Bearbeiten", "&Rückgängig Vorzündung +",
         "&Wiederholen Öffnen tune.ign"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu.toStdString());
        Open({"ENGLISH"});
        EngineAt(2600, 30);
        QTest::keyClick(form.get(), Qt::Key_F5);
        const QString path = WriteIgnFile("tune.ign");
        fileDialog = [path](QFileDialog&) { return path; };
        QTest::keyClick(form.get(), Qt::Key_F3);
        PressUndo();
        // Switched after the steps were made: their names follow.
        form->ApplyLanguage(c.language);
        EXPECT_EQ(Undo().editMenu->title(), c.menu);
        EXPECT_EQ(Undo().undoItem->text(), c.undo);
        EXPECT_EQ(Undo().redoItem->text(), c.redo);
        form.reset();
    }
}

TEST_F(UndoTest, AFilePartlyUnderstoodLoadsAndListsWhatWasLeftOutInOneBox) {
    struct Case {
        const char* broken;  // replaces the CLUTCH line; nullptr: a clean file
        std::uint8_t language;
        QStringList expected;  // parts of the one message; empty: no message
    } cases[] = {
        {nullptr, kLanguageEnglish, {}},
        {"CLUTCH        +60 \r\nTURBO 1 ",
         kLanguageEnglish,
         {"The file was loaded, but these entries were not taken as written:",
          "Line 7, CLUTCH: not a number (+60)", "Line 8, TURBO: unknown key"}},
        {"CLUTCH        2560 ",
         kLanguageEnglish,
         {"not taken as written", "Line 7, CLUTCH: 2560 does not fit the field, read as 0"}},
        {"CLUTCH        +60 ",
         kLanguageCzech,
         {"Soubor byl načten", "Řádek 7, CLUTCH: není číslo (+60)"}},
        {"CLUTCH        +60 ",
         kLanguageGerman,
         {"Datei wurde geladen", "Zeile 7, CLUTCH: keine Zahl (+60)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.broken != nullptr ? c.broken : "clean");
        Open();
        form->ApplyLanguage(c.language);
        const QString path = WriteIgnFile("tune.ign", c.broken);
        fileDialog = [path](QFileDialog&) { return path; };
        QTest::keyClick(form.get(), Qt::Key_F3);
        // The file is in either way, as one step.
        EXPECT_EQ(form->Image()[field::Limiter2], 99);
        EXPECT_EQ(Stack().count(), 1);
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        } else {
            ASSERT_EQ(messages.size(), 1);
            for (const QString& part : c.expected)
                EXPECT_TRUE(messages[0].contains(part)) << messages[0].toStdString();
        }
        form.reset();
        messages.clear();
    }
}

}  // namespace
}  // namespace korvan::testing
