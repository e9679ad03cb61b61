// The resource numbers of the message log's files inside the program
// (app/hook_files.rc.in); the resource compiler reads this too.
#pragma once

#define VEXLAN_RESOURCE_HOOK_DLL 201
#define VEXLAN_RESOURCE_HOOK_DLL32 202
#define VEXLAN_RESOURCE_HOOK_HOST32 203
