// Builds the suites' shared precompiled header; it holds no code of its own.
