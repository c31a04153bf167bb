#include "ParameterBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Room for this many average characters at least: a typical option string shows whole.
constexpr int MinVisibleChars = 80;

} // namespace

ParameterBox::ParameterBox(const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent)
    , m_prompt(new QLabel(prompt, this))
    , m_edit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("ParameterBox"));
    setWindowTitle(caption);
    m_prompt->setObjectName(QStringLiteral("ParameterPrompt"));
    m_prompt->setBuddy(m_edit);
    m_edit->setObjectName(QStringLiteral("ParameterEdit"));
    m_edit->setAccessibleName(QStringLiteral("Parameters"));
    m_edit->setAccessibleDescription(
        QStringLiteral("The parameters the program of the selected row is started with"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ParameterButtons"));
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ParameterOk"));
    ok->setText(QStringLiteral("OK"));
    ok->setAccessibleDescription(QStringLiteral("Sets the parameters to the text typed"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("ParameterCancel"));
    cancel->setText(QStringLiteral("Cancel"));
    cancel->setAccessibleDescription(QStringLiteral("Keeps the parameters as they were"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

std::optional<QString> ParameterBox::ask(const QString& current)
{
    // Parameters from a hand-edited job file may be longer than anyone could type: they are
    // offered whole rather than cut, so OK alone never loses their end.
    m_edit->setMaxLength(std::max<int>(MaxLength, static_cast<int>(current.size())));
    m_edit->setText(current);
    m_edit->selectAll();
    m_edit->setFocus();
    fitWidth(current);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_edit->text();
}

// As wide as the parameters offered need, and never narrower than a typical option string, but
// no wider than the screen: a longer text scrolls in the field.
void ParameterBox::fitWidth(const QString& text)
{
    const QFontMetrics metrics = m_edit->fontMetrics();
    const int wanted = std::max(metrics.averageCharWidth() * MinVisibleChars,
                                metrics.horizontalAdvance(text) + metrics.averageCharWidth() * 2);
    const QMargins margins = layout()->contentsMargins();
    int width = wanted + margins.left() + margins.right();
    if (const QScreen* shown = screen())
        width = std::min(width, shown->availableGeometry().width() * 9 / 10);
    resize(std::max(width, minimumSizeHint().width()), sizeHint().height());
}
