#pragma once

// A small filled rectangle used as a lamp or a colour swatch. The owner also
// sets its accessible description, so the state it shows is not colour alone.

#include <QColor>
#include <QWidget>

namespace vantrel {

class FilledShape : public QWidget {
    Q_OBJECT

  public:
    explicit FilledShape(const QColor& fill, QWidget* parent = nullptr);

    QColor fillColor() const { return fill_; }
    void setFillColor(const QColor& fill);

    QSize sizeHint() const override { return {24, 16}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_;
};

}  // namespace vantrel
