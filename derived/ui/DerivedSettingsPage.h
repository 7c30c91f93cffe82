#pragma once

// The Derived page of Options > Settings: a row per derived channel with its name,
// unit, decimals, expression, whether it is logged, and its value now as the run
// computes it. On OK each row is read by the [derived] rules and the expressions
// are compiled against the channels' names; the first row that does not hold is
// refused with a message naming the derived channel, and the field at fault
// becomes the table's current cell; decimals it does not take give way to the
// cell's previous text.

#include <QWidget>
#include <string>
#include <variant>

#include "derived/EngineeringValues.h"
#include "engine/AcquisitionState.h"

class QPushButton;
class QTableWidget;
class QTimer;

namespace vantrel {

class DerivedSettingsPage : public QWidget {
    Q_OBJECT

  public:
    enum Column { Name, Unit, Decimals, Expression, Saved, Now, kColumns };

    // engineering: the run's, for the values now and the settings it computes.
    DerivedSettingsPage(const AcquisitionState& state,
                        const derived::EngineeringValues& engineering, QWidget* parent = nullptr);

    void load(const derived::DerivedSettings& settings);
    // The settings as typed, or the first refusal ("dT: unknown name ch16 at
    // character 6 of the expression"), its field made the current cell.
    std::variant<derived::DerivedSettings, std::string> settings();

    // Each row's value now: the run's value of the derived channel of that name
    // and expression, "-" when it has none.
    void showValues();

    void cmdDerivedAdd_Click();
    void cmdDerivedRemove_Click();

    QTableWidget* tblDerived = nullptr;
    QPushButton* cmdDerivedAdd = nullptr;
    QPushButton* cmdDerivedRemove = nullptr;
    QTimer* tmrDerivedNow = nullptr;

  private:
    void addRow(const derived::DerivedChannel& channel);
    QString cellText(int row, int column) const;
    // The row's fields as one [derived] text, the fields after `last` replaced by
    // ones that hold, so that a refusal can be traced to its field; decimals as
    // the file writes them.
    std::string rowText(int row, Column last, const std::string& decimals) const;
    bool isBlank(int row) const;
    std::string refuse(int row, Column column, const std::string& message);
    void enableButtons();

    const AcquisitionState& state_;
    const derived::EngineeringValues& engineering_;
};

}  // namespace vantrel
