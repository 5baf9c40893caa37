// The four commands over one data set; each returns the process exit status.
#pragma once

#include <tidewell/tidewell.h>

#include "command_line.h"

namespace quillory_sync {

enum ExitStatus { kExitOk = 0, kExitUsage = 2, kExitSignIn = 3, kExitPass = 4, kExitNoRecord = 5 };

int RunSync(ISyncDataSet& set, const Command& command);
int RunList(ISyncDataSet& set);
int RunTag(ISyncDataSet& set, const Command& command);
int RunDelete(ISyncDataSet& set, const Command& command);

}  // namespace quillory_sync
