#pragma once

#include <type_traits>

namespace bforms {

// True for the arguments of a copy or move of Self. The mixins forward any
// arguments to their toolkit base; this keeps copies (which widgets forbid)
// out of that forwarding constructor, so the class stays non-copyable.
template<class Self, class... Args>
inline constexpr bool isSelfCopy = false;
template<class Self, class Arg>
inline constexpr bool isSelfCopy<Self, Arg> = std::is_base_of_v<Self, std::remove_cvref_t<Arg>>;

} // namespace bforms
