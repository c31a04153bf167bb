#pragma once

#include <QLabel>

// One part of the main window's status bar: plain text that is shortened with "…" at its end when
// the bar is too narrow, the whole text then in the tooltip. The label keeps the whole text, so
// that a screen reader reads it as the part's name and hears of every change; what the part is
// about is its description.
class StatusPart final : public QLabel {
    Q_OBJECT

public:
    StatusPart(const QString& name, const QString& meaning, QWidget* parent);

    // Sets the text, and the tooltip: the given one, or the whole text while it does not fit.
    void setStatus(const QString& text, const QString& toolTip = {});

    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateToolTip();

    QString m_toolTip;
};
