// @ts-check
// The page as an installed app. Its manifest is named only where a web server serves the page: opened
// from disk, the browser may not read it and says so in its console, and there is no app to install
// anyway.

/** @param {Location} where */
const served = (where) => where.protocol === "http:" || where.protocol === "https:";

/** Names the app's manifest where the page is served. @param {Document} doc @param {Location} where */
export function linkManifest(doc = document, where = location) {
    if (!served(where) || doc.querySelector("link[rel=manifest]"))
        return;
    const link = doc.createElement("link");
    link.rel = "manifest";
    link.href = "manifest.webmanifest";
    doc.head.append(link);
}
