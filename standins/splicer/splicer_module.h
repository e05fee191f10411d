#pragma once

namespace standin::splicer {

// Makes "splicer_x86.dll" a loaded module with its getter and version exports.
void RegisterSplicerModule(void* get_splicer, void* get_version);

}  // namespace standin::splicer
