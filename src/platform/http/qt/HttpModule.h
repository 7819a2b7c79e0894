// The HTTP module's one entry point, as the module defines it and the program looks it up.
#pragma once

#include <memory>

#include "core/info/HttpFetchPort.h"

namespace vantrel {

// The module's file, in the program's folder.
inline constexpr char kHttpModuleFile[] = "libvantrel-http.so";
// The entry's name and type: it makes a fetcher and hands it to the caller.
inline constexpr char kHttpModuleEntry[] = "vantrel_http_fetch_make";
using HttpModuleEntry = void (*)(std::unique_ptr<HttpFetchPort>& made);

}  // namespace vantrel
