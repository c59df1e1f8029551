// Marks a function that the page's script calls in the WebAssembly module.
#pragma once

#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))
