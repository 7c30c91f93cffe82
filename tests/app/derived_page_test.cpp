// Guards the Derived page of Options > Settings: a slip let through, refused with
// another channel's name or without the place of the error, or pointing at the
// wrong row or field; decimals refused but not given back as they were; a 17th derived channel; OK
// not reaching the run or the file; and a value now shown for an expression the run does not
// compute.
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "derived/ui/DerivedSettingsPage.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

using derived::DerivedChannel;
using Page = DerivedSettingsPage;

TEST(DerivedPage, RefusesTheFirstSlipNamingTheChannelAndPointingAtItsField) {
    const struct {
        std::vector<DerivedChannel> rows;
        const char* message;
        int row;
        Page::Column field;
        const char* typed = nullptr;  // into the first row's decimals, which then keep 2
    } cases[] = {
        {{{"2x", "", 2, "ch0"}},
         "Derived channel 1: name \"2x\" is not letters, digits and _ starting with a letter",
         0,
         Page::Name},
        {{{"p", "k\nPa", 2, "ch0"}}, "p: unit has a line break", 0, Page::Unit},
        {{{"p", "k|Pa", 2, "ch0"}}, "p: unit may not hold |", 0, Page::Unit},
        {{{"p", "", 2, "ch0"}},
         "p decimals: \"10\" is not accepted.\nAllowed: a whole number from 0 to 9.",
         0,
         Page::Decimals,
         "10"},
        // A row added and left empty is passed over, and the row is still found.
        {{{"ok", "", 2, "ch0"}, {"", "", 2, ""}, {"dT", "K", 2, "ch1 - ch16"}},
         "dT: unknown name ch16 at character 7 of the expression",
         2,
         Page::Expression},
        {{{"a", "", 2, "ch0 + b"}, {"b", "", 2, "2 * a"}},
         "a: a cycle a -> b -> a at character 7 of the expression",
         0,
         Page::Expression},
        {{{"dT", "", 2, "ch0"}, {"dT", "", 2, "ch1"}}, "dT: name dT is used twice", 1, Page::Name},
    };
    const AcquisitionState state;
    const derived::EngineeringValues engineering;
    for (const auto& c : cases) {
        Page page(state, engineering);
        page.load({c.rows});
        if (c.typed != nullptr) {
            page.tblDerived->item(0, Page::Decimals)->setText(c.typed);
        }
        const auto settings = page.settings();
        ASSERT_TRUE(std::holds_alternative<std::string>(settings)) << c.message;
        EXPECT_EQ(std::get<std::string>(settings), c.message);
        EXPECT_EQ(page.tblDerived->currentRow(), c.row) << c.message;
        EXPECT_EQ(page.tblDerived->currentColumn(), c.field) << c.message;
        if (c.typed != nullptr) {
            EXPECT_EQ(page.tblDerived->item(0, Page::Decimals)->text(), "2");
        }
    }
}

TEST(DerivedPage, ShowsTheRunsValueOnlyForTheExpressionItComputes) {
    const AcquisitionState state;
    derived::EngineeringValues engineering;
    ASSERT_TRUE(engineering.setDerived({{{"dT", "K", 2, "ch1 - ch0"}}}, state).empty());
    ConvertedFrame frame;
    frame.values[0] = 20.0f;
    frame.values[1] = 21.5f;
    engineering.finish(frame, state);
    Page page(state, engineering);
    page.load(engineering.derivedSettings());
    Tick(page, "tmrDerivedNow");
    EXPECT_EQ(page.tblDerived->item(0, Page::Now)->text(), "1.50 K");
    page.tblDerived->item(0, Page::Expression)->setText("ch0 - ch1");
    EXPECT_EQ(page.tblDerived->item(0, Page::Now)->text(), "-");
}

using DerivedPageWindow = MainWindowFixture;

TEST_F(DerivedPageWindow, OkAppliesTheTypedChannelToTheRunAndTheFile) {
    startProgram();
    modal = [](QDialog& dialog) {
        auto& pages = Find<QListWidget>(dialog, "lstPages");
        pages.setCurrentItem(pages.findItems("Derived", Qt::MatchExactly).value(0));
        auto& add = Find<QPushButton>(dialog, "cmdDerivedAdd");
        auto& table = Find<QTableWidget>(dialog, "tblDerived");
        for (int row = 0; row < 16; ++row) {
            add.click();
        }
        EXPECT_FALSE(add.isEnabled());
        Find<QPushButton>(dialog, "cmdDerivedRemove").click();
        EXPECT_TRUE(add.isEnabled());
        EXPECT_EQ(table.rowCount(), 15);
        const char* typed[] = {"dT", "K", "2", "ch1 - ch0"};
        for (const int column : {Page::Name, Page::Unit, Page::Decimals, Page::Expression}) {
            table.item(3, column)->setText(typed[column]);
        }
        table.item(3, Page::Saved)->setCheckState(Qt::Checked);
        table.item(5, Page::Expression)->setText("ch1 - ch16");
        pages.setCurrentRow(0);
        Find<QPushButton>(dialog, "cmdOK").click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(pages.currentItem()->text(), "Derived") << "the page of the slip is shown";
        table.item(5, Page::Expression)->setText("");
        Find<QPushButton>(dialog, "cmdOK").click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    };
    choose("OptionsSettings");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Derived channel 6: name \"\" is not letters, digits and _ starting with a letter");
    const DerivedChannel typed{"dT", "K", 2, "ch1 - ch0", true};
    EXPECT_EQ(run->engineering().derivedSettings().channels, std::vector{typed});
    const std::string stored = startFolderFile("vantrel.ini");
    EXPECT_NE(stored.find("derived1=dT | K | 2 | ch1 - ch0\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("saved=dT\n"), std::string::npos) << stored;
}

}  // namespace
}  // namespace vantrel::testing
