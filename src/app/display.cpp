// SPDX-License-Identifier: MIT
// Opening the graphical display: how frames reach it, and a plain message and status 1 where there is none.
#include "app/display.h"

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kanuvo {

namespace {

QtMessageHandler g_previous = nullptr;
std::vector<std::string> g_held;  // messages written while the display is being opened
bool g_framesOurs = false;         // the toolkit was told to draw no window frames, by us

void WhileOpening(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        // The only fatal message while the application is made is the one about the display.
        std::fputs(kNoDisplayMessage, stderr);
        std::fflush(stderr);
        std::_Exit(1);
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

void ExpectDisplay() { g_previous = qInstallMessageHandler(&WhileOpening); }

void DisplayOpened() {
    qInstallMessageHandler(g_previous);
    for (const std::string& line : g_held) std::fprintf(stderr, "%s\n", line.c_str());
    g_held.clear();
}

}  // namespace kanuvo
