#include "platformqt/MessageBox.h"

#include "platform/WindowStyles.h"
#include "platformqt/AppIcon.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <utility>
#include <vector>

namespace platform {

namespace {

MessageBoxHook& installedHook()
{
    static MessageBoxHook hook;
    return hook;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int id;
};

std::vector<ButtonChoice> buttonsOf(unsigned flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return { { QMessageBox::Ok, IDOK }, { QMessageBox::Cancel, IDCANCEL } };
    case MB_YESNOCANCEL:
        return { { QMessageBox::Yes, IDYES }, { QMessageBox::No, IDNO }, { QMessageBox::Cancel, IDCANCEL } };
    case MB_YESNO:
        return { { QMessageBox::Yes, IDYES }, { QMessageBox::No, IDNO } };
    case MB_RETRYCANCEL:
        return { { QMessageBox::Retry, IDRETRY }, { QMessageBox::Cancel, IDCANCEL } };
    default:
        return { { QMessageBox::Ok, IDOK } };
    }
}

QMessageBox::Icon iconOf(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString messageBoxRichText(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')))
        return {};
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lines = plain.split(QLatin1Char('\n'));
    QString html;
    bool inTable = false;
    // Text lines after a table go into a paragraph of their own, where a
    // blank line stays a blank line.
    bool inParagraph = false;
    bool lineStarted = false;
    for (const QString& line : lines) {
        if (line.contains(QLatin1Char('\t'))) {
            if (inParagraph)
                html += QLatin1String("</p>");
            inParagraph = false;
            if (!inTable)
                html += QLatin1String("<table cellspacing=\"0\" cellpadding=\"0\">");
            inTable = true;
            html += QLatin1String("<tr>");
            // Tabs in a row only separate its cells.
            const QStringList cells = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            for (qsizetype c = 0; c < cells.size(); ++c) {
                html += c + 1 < cells.size() ? QLatin1String("<td style=\"padding-right:12px\">") : QLatin1String("<td>");
                html += cells[c].toHtmlEscaped();
                html += QLatin1String("</td>");
            }
            html += QLatin1String("</tr>");
            continue;
        }
        if (inTable) {
            html += QLatin1String("</table><p style=\"margin:0\">");
            inTable = false;
            inParagraph = true;
            lineStarted = false;
        }
        if (lineStarted)
            html += QLatin1String("<br>");
        lineStarted = true;
        html += line.isEmpty() ? QStringLiteral("&nbsp;") : line.toHtmlEscaped();
    }
    if (inTable)
        html += QLatin1String("</table>");
    if (inParagraph)
        html += QLatin1String("</p>");
    return html;
}

void prepareMessageBox(QMessageBox& box, const QString& text)
{
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                       | Qt::WindowCloseButtonHint);
    // The program's icon in the title bar, also when no window of the program
    // is active to lend it (right after a file dialog closed, say).
    box.setWindowIcon(applicationIcon());
    const QString rich = messageBoxRichText(text);
    if (rich.isNull()) {
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
    } else {
        box.setTextFormat(Qt::RichText);
        box.setText(rich);
    }
}

MessageBoxHook setMessageBoxHook(MessageBoxHook hook) { return std::exchange(installedHook(), std::move(hook)); }

int messageBox(QWidget* owner, const std::wstring& text, const std::wstring& caption, unsigned flags)
{
    if (const MessageBoxHook& hook = installedHook())
        return hook(MessageBoxRequest { owner, text, caption, flags });

    const std::vector<ButtonChoice> choices = buttonsOf(flags);
    QMessageBox box(iconOf(flags), QString::fromStdWString(caption), QString(), QMessageBox::NoButton,
                    owner ? owner->window() : nullptr);
    prepareMessageBox(box, QString::fromStdWString(text));
    std::vector<QPushButton*> buttons;
    for (const ButtonChoice& choice : choices)
        buttons.push_back(box.addButton(choice.button));
    const std::size_t defaultIndex = (flags & MB_DEFMASK) >> 8;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    for (QMessageBox::StandardButton escape : { QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok })
        if (QAbstractButton* button = box.button(escape)) {
            box.setEscapeButton(button);
            break;
        }
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return choices[i].id;
    // Closed without a button: as Escape.
    QAbstractButton* escape = box.escapeButton();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (escape == buttons[i])
            return choices[i].id;
    return IDCANCEL;
}

} // namespace platform
