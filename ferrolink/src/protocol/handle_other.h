#pragma once

namespace HarborKestrel {

// Helper base of the I/O manager and the page; it carries nothing either relies on and is
// kept so both keep their established base classes.
class CHandleOther {};

}  // namespace HarborKestrel
