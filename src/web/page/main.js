// @ts-check
// The page's script, which esbuild bundles with every module it imports. Deferred, it runs once the page
// has been read; it is the one module that does anything as it is loaded: the others wait to be started
// with what they need, so that node can test them without a page.
import { linkManifest } from "./app.js";
import { start } from "./calculator.js";

linkManifest();

// The browser tests wait for it.
window.vornReady = start().catch((problem) => {
    const notice = document.createElement("p");
    notice.className = "notice";
    notice.setAttribute("role", "alert");
    notice.textContent = "The calculator could not start in this browser: " + problem;
    document.querySelector("main")?.prepend(notice);
    throw problem;
});
