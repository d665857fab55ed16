// The one source of each precompiled-header target (cmake/PrecompiledHeaders.cmake): the
// header is built from it, and the libraries of one layer use that header.
