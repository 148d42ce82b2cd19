// A value the field cannot hold: the old value comes back, and the status bar says why.
#include <QStatusBar>
#include <ostream>

#include "tests/ui/window/window_fixture.h"

namespace korvan::testing {
namespace {

struct RefusalCase {
    const char* name;
    const char* language;
    const char* field;
    QString typed;
    Qt::Key leaveBy;
    QString message;  // empty: taken, nothing said
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_F(WindowTest, ATypedValueOutsideTheRangeSaysTheRangeAndKeepsTheOldValue) {
    const RefusalCase cases[] = {
        {"too large, Tab", "ENGLISH", "Edit142", "99", Qt::Key_Tab,
         "\"99\" is not a whole number within 0..60: 15 stays"},
        {"not a number, Enter", "ENGLISH", "Edit142", "1x", Qt::Key_Return,
         "\"1x\" is not a whole number within 0..60: 15 stays"},
        // (A minus in a map cell is the map's "one degree less": the German case types a number.)
        {"German", "DEUTSCH", "Edit142", "75", Qt::Key_Tab,
         "„75“ ist keine ganze Zahl in 0..60: 15 bleibt"},
        {"Czech", "CESKY", "EditBaseAdv", "70", Qt::Key_Tab,
         "„70“ není celé číslo v rozsahu 0..40: zůstává 10"},
        {"within the range", "ENGLISH", "Edit142", "33", Qt::Key_Tab, ""},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        Open({c.language});
        NumericEdit* edit = Edit(c.field);
        const int old = edit->value();
        form->statusBar()->clearMessage();
        TypeInto(c.field, c.typed);
        QTest::keyClick(edit, c.leaveBy);
        EXPECT_EQ(form->statusBar()->currentMessage(), c.message)
            << form->statusBar()->currentMessage().toStdString();
        EXPECT_EQ(edit->value(), c.message.isEmpty() ? c.typed.toInt() : old);
        EXPECT_EQ(edit->text(), QString::number(edit->value()));
        form.reset();
    }
}

TEST_F(WindowTest, EveryFieldsTooltipGivesItsRangeInTheLanguage) {
    Open({"DEUTSCH"});
    EXPECT_EQ(Edit("Edit142")->toolTip(), "Bereich 0..60");
    EXPECT_TRUE(Edit("EditOmez1")->toolTip().endsWith(", Schrittweite 100"));
    form->findChild<QAction*>("MenuCzech")->trigger();
    EXPECT_EQ(Edit("Edit142")->toolTip(), QString::fromUtf8("Rozsah 0..60"));
    int withoutRange = 0;
    for (NumericEdit* e : form->findChildren<NumericEdit*>())
        withoutRange += e->toolTip().startsWith(QString::fromUtf8("Rozsah ")) ? 0 : 1;
    EXPECT_EQ(withoutRange, 0);
}

}  // namespace
}  // namespace korvan::testing
