#include "session/Help.h"

#include "Utillib/FileUtil.h"
#include "Utillib/LogStream.h"
#include "session/HelpWindow.h"
#include "ui/AppServices.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace Help {

namespace {
std::function<bool(const QUrl&)>& opener()
{
    static std::function<bool(const QUrl&)> current;
    return current;
}
} // namespace

std::string folder()
{
    if (Utillib::fileExists("razeduv_en.html"))
        return QDir::currentPath().toStdString();
    return TAVO_HELP_DIR;
}

bool open(const std::string& file, const std::string& anchor)
{
    if (!Utillib::fileExists(file)) {
        LogStream::instance() << "Help: no help file '" << file << "' for '" << anchor << "'" << LogStream::endl;
        return false;
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(file)).absoluteFilePath());
    url.setFragment(QString::fromStdString(anchor));
    // Shown by the program itself, so that help works on a station without a
    // web browser and always opens at its topic.
    const bool shown = opener() ? opener()(url) : HelpWindow::showTopic(url, appServices() ? appServices()->mainWindow() : nullptr);
    if (!shown)
        LogStream::instance() << "Help: nothing could show '" << url.toString().toStdString() << "'" << LogStream::endl;
    return shown;
}

void setOpener(std::function<bool(const QUrl&)> replacement) { opener() = std::move(replacement); }

} // namespace Help
