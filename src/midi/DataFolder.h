// Where the program keeps what it makes for the user (the Virtual SP's memory and disks, the
// library): the user's data folder, or the folder KORVANE_DATA_DIR names, for a portable setup
// or a test's own folder where the user's data folder cannot be moved (Windows has no variable
// for it).
#pragma once

#include <QString>

QString DataFolder();
