// The Qt side of a checked entry: a spin box answers a letter with the refusal
// instead of dropping it, and a window's fields are checked before it uses them
// even when the user never left the field.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>

#include "platform/qt/CheckedEntry.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

TEST(CheckedEntry, SpinBoxAndFieldRefuseWhatIsNoNumberAndSayWhy) {
    testing::FakeDialogs dialogs;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Settings"));
    auto* port = new CheckedSpinBox(&window, QStringLiteral("Port"), dialogs);
    port->setRange(1, 65535);
    testing::TypeInto(*port, QStringLiteral("18x"));
    QCoreApplication::processEvents();
    EXPECT_EQ(port->value(), 18);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Port: \"18x\" is not accepted.\nAllowed: a whole number from 1 to 65535.");
    EXPECT_EQ(dialogs.messages[0].title, "Settings");

    auto* field = new QLineEdit(&window);
    CheckedEntry::Guard(field, QStringLiteral("Interval"), {.min = 1}, dialogs);
    field->setText(QStringLiteral("0"));  // the program's own text is not judged
    EXPECT_TRUE(CheckEntries(window));
    field->insert(QStringLiteral("x"));  // typed, the field not yet left
    EXPECT_FALSE(CheckEntries(window));
    EXPECT_EQ(field->text(), "0");
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(CheckEntries(window)) << "the kept text stands until the user edits again";
}

}  // namespace
}  // namespace vantrel
