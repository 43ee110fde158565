// Appended to vorn.js: the WebAssembly module starts compiling as soon as its script has run, while the
// page's own scripts are still loading; the calculator awaits it.
const VornModule = createVornModule();
