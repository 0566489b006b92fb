#include "gettext/DialogTextChecker.h"

#include "Utillib/WindowUtil.h"
#include "gettext/TranslateWindow.h"
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"

#include <QLabel>

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The space a text control leaves its text and whether the text fits in it;
// false for no text control.
bool measure(const QWidget* window, bool& fits)
{
    Utillib::ControlMargins margins = Utillib::controlMargins(window);
    if (!margins.isText)
        return false;
    // No text is ever too large (an etched line, an empty label).
    if (platform::windowText(window).isEmpty()) {
        fits = true;
        return true;
    }
    QSize client = window->contentsRect().size();
    // A wrapping label breaks its lines as the label itself does (Japanese
    // between any two characters, not only at blanks), in its whole contents.
    if (auto* label = qobject_cast<const QLabel*>(window); label && label->wordWrap()) {
        // Laid out in a box taller than any label, to learn the whole height.
        const QRect lines = label->fontMetrics().boundingRect(QRect(0, 0, std::max(client.width(), 1), 1 << 16),
            int(label->alignment()) | Qt::TextWordWrap, label->text());
        fits = lines.width() <= client.width() && lines.height() <= client.height();
        return true;
    }
    int width = client.width() - margins.left - margins.right;
    int height = client.height() - margins.top - margins.bottom;
    SIZE extent = Utillib::textExtent(window, margins.multiline ? std::max(width, 1) : 0);
    fits = extent.cx <= width && extent.cy <= height;
    return true;
}

// The text of the nearest ancestor that has one.
std::string parentText(const QWidget* window)
{
    for (const QWidget* w = window->parentWidget(); w; w = w->parentWidget()) {
        std::string text = platform::getWindowTextA(w);
        if (!text.empty())
            return text.substr(0, 49);
    }
    return {};
}

} // namespace

DialogTextChecker::IdMap DialogTextChecker::readResourceIds(const std::string& headerPath)
{
    IdMap ids;
    std::ifstream file(headerPath, std::ios::binary);
    if (!file)
        return ids;
    std::ostringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    std::vector<std::string> tokens;
    const char* delimiters = " ;\n\r\t";
    std::size_t at = 0;
    while ((at = text.find_first_not_of(delimiters, at)) != std::string::npos) {
        std::size_t end = text.find_first_of(delimiters, at);
        tokens.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end;
    }
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (tokens[i] != "#define")
            continue;
        const std::string& number = tokens[i + 2];
        char* rest = nullptr;
        long value = std::strtol(number.c_str(), &rest, 10);
        if (!number.empty() && rest && *rest == '\0')
            ids.emplace(static_cast<int>(value), tokens[i + 1]);
    }
    return ids;
}

std::string DialogTextChecker::checkAll(QWidget* owner, const IdMap& ids)
{
    std::string report;
    for (const auto& [id, name] : ids) {
        if (name.rfind("IDD_", 0) != 0 || !platform::findResource(platform::RT_DIALOG, id).data)
            continue;
        platform::Dialog dialog(owner);
        // A dialog left out would let an empty report say that its texts fit.
        if (!dialog.create(id, owner)) {
            report += name + "\n  The dialog cannot be checked: " + dialog.buildError() + "\n";
            continue;
        }
        translateWindow(&dialog);
        std::string lines = checkDialog(&dialog, ids);
        if (!lines.empty())
            report += name + "\n" + lines;
    }
    if (!report.empty())
        report += "\n";
    return report;
}

std::string DialogTextChecker::checkDialog(QWidget* dialog, const IdMap& ids)
{
    std::string report;
    for (QWidget* control : platform::childWindows(dialog)) {
        // Hidden by its own style; a dialog not yet shown hides none of them.
        if (control->isHidden())
            continue;
        bool fits = true;
        if (!measure(control, fits) || fits)
            continue;
        int id = platform::controlId(control);
        auto name = ids.find(id);
        report += "  The text='" + platform::getWindowTextA(control) + "' in control "
            + (name == ids.end() ? std::string() : name->second) + "(" + std::to_string(id) + ")";
        std::string parent = parentText(control);
        if (!parent.empty())
            report += " with parent '" + parent + "'";
        report += " is too large\n";
    }
    return report;
}

int textFits(QWidget* window)
{
    bool fits = true;
    if (!window || !measure(window, fits))
        return 2;
    return fits ? 1 : 0;
}
