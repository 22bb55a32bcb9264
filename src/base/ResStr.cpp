#include "base/ResStr.h"

#include <utility>

namespace kv {

namespace {

TResStringLoader& Loader()
{
    static TResStringLoader loader;
    return loader;
}

} // namespace

void SetResStringLoader(TResStringLoader Value) { Loader() = std::move(Value); }

std::string ResStr(const std::string& Text)
{
    const TResStringLoader& loader = Loader();
    return loader ? loader(Text) : Text;
}

} // namespace kv
