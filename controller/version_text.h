// The controller's name and version as it shows them.
#pragma once

constexpr const char kControllerBanner[] = "Zephlaunch Control Program 1.1.11";
constexpr const char kControllerTitle[] = "Zephlaunch Control Program Version 1.1.11";
