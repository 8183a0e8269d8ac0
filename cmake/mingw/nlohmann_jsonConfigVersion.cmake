# SPDX-License-Identifier: MIT
# The version is the installed package's; its check has no word size, the library being headers.
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
