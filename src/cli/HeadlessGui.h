// What the commands that draw PNG pictures share: the Qt application their
// text renderer needs, and the reading of --size.
#pragma once

#include <QGuiApplication>
#include <memory>
#include <string>

// Fonts need a GUI application; a machine without a display gets Qt's
// offscreen platform unless the user chose one. Keep it alive while drawing.
std::unique_ptr<QGuiApplication> StartHeadlessGui();

// "WxH", each from 16 to 16384; logs the error and returns false otherwise.
bool ParseImageSize(const std::string& text, int* w, int* h);
