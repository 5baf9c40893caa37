// Texts written to standard output: UTF-8, control characters escaped so one record stays one line.
#pragma once

#include <string>
#include <string_view>

namespace quillory_sync {

std::string FieldText(std::u16string_view text);

}  // namespace quillory_sync
