// SPDX-License-Identifier: MIT
// Opening the graphical display: how frames reach it, and a plain message and status 1 where there is
// none or the window system fails.
#include "app/display.h"

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/language.h"

namespace kanuvo {

namespace {

QtMessageHandler g_previous = nullptr;
std::vector<std::string> g_held;  // messages written while the display is being opened
bool g_framesOurs = false;         // the toolkit was told to draw no window frames, by us
bool g_noDisplay = false;          // one of them says no display answered

void WhileOpening(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        // Without a display the toolkit's advice (reinstall) does not apply: the player reads why in
        // plain words. Any other failure (a platform that does not exist, say) is told as the toolkit
        // tells it, with what it said before.
        if (g_noDisplay) {
            std::fprintf(stderr, "%s\n", Translated(kNoDisplayMessage).toUtf8().constData());
        } else {
            std::fprintf(stderr, "%s\n", Translated(kNoWindowSystem).toUtf8().constData());
            for (const std::string& line : g_held) std::fprintf(stderr, "%s\n", line.c_str());
            std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        }
        std::fflush(stderr);
        std::_Exit(1);
    }
    // As the X and Wayland platforms say that no server answered.
    if (message.contains(QLatin1String("connect to display")) || message.contains(QLatin1String("wl_display"))) {
        g_noDisplay = true;
    }
    g_held.push_back(qFormatLogMessage(type, context, message).toStdString());
}

}  // namespace

void SendFramesThroughTheSocket() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}

void LeaveGlUnloaded() {
    if (qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION") ||
        qEnvironmentVariableIsSet("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION"))
        return;
    qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    g_framesOurs = true;
}

bool GameDrawsItsTitleBar() {
    return g_framesOurs && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

int LeaveDisplay(int status) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return status;
    std::fflush(nullptr);
    std::_Exit(status);
}

void ExpectDisplay() { g_previous = qInstallMessageHandler(&WhileOpening); }

void DisplayOpened() {
    qInstallMessageHandler(g_previous);
    for (const std::string& line : g_held) std::fprintf(stderr, "%s\n", line.c_str());
    g_held.clear();
}

}  // namespace kanuvo
