#include "key_path.h"
#include "../res/version.h"

std::string ProductKeyPath(const char* part) {
    return std::string("Software\\" MORROWBY_MAKER_NAME "\\" MORROWBY_PRODUCT_NAME "\\") + part;
}
