// The workbench's services with everything they hand out: what a part's
// source file includes to use the workbench. The handler groups are not
// here; a part includes the header of each group it takes.
#pragma once

#include "base/Progress.h"
#include "doc/Document.h"
#include "editor/Canvas.h"
#include "editor/CommandStates.h"
#include "editor/Modes.h"
#include "editor/NetworkUpkeep.h"
#include "editor/SessionFiles.h"
#include "editor/Steps.h"
#include "editor/Ui.h"
#include "editor/Workbench.h"
#include "raster/Surface.h"
#include "shell/Settings.h"
#include "store/Store.h"
