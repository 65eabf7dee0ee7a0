#pragma once

#include <QString>

// The name a reader hears, and a tooltip shows, for each picture of the
// item icons (ImageListTV), said after the Tango picture it comes from;
// empty outside the list.
QString IconName(int index);
