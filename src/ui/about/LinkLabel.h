#pragma once

#include <QLabel>
#include <QUrl>

// A text that leads somewhere, as a link on a web page does: underlined, in the link colour, with
// the hand pointer over it. A click, a double click, or Enter or Space when it has the focus
// activates it; Tab reaches it as it would a button. The label only says it was activated: where
// its target leads is for its owner to decide.
class LinkLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString target READ target WRITE setTarget)

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    [[nodiscard]] QString target() const { return m_target; }
    void setTarget(const QString& target) { m_target = target; }
    // The target as the desktop takes it. Targets are kept as written, a mail one as "MailTo: "
    // and the address; the URL has the scheme in its usual spelling and no blank before the
    // address.
    [[nodiscard]] QUrl url() const;

signals:
    void activated();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showFocus(bool focused);

    QString m_target;
    // A left-button press on the label not yet released: a press and a release on it make a click.
    bool m_pressed = false;
};
