// What lasts beyond the page: the current character in the browser's storage, and character files read
// from and written to the user's disk. A browser that keeps no storage (private windows, full storage, a
// policy) costs only the lasting: the calculator goes on working.
"use strict";

const VornStorage = (() => {
    const characterKey = "vorn-build-calculator.character";
    const fileNameKey = "vorn-build-calculator.fileName";
    const modifiedKey = "vorn-build-calculator.modified";

    function storage() {
        try {
            return window.localStorage;
        } catch (e) {
            return null;
        }
    }

    // The character's file text, the name of the file it came from or went to (null for none), and
    // whether it has changes that file lacks.
    function keep(text, fileName, modified) {
        try {
            const kept = storage();
            if (!kept)
                return;
            kept.setItem(characterKey, text);
            if (fileName)
                kept.setItem(fileNameKey, fileName);
            else
                kept.removeItem(fileNameKey);
            if (modified)
                kept.setItem(modifiedKey, "1");
            else
                kept.removeItem(modifiedKey);
        } catch (e) {
            // Full or refused: the character lasts only as long as the page. An earlier one kept must not
            // come back in its place with the next visit.
            forget();
        }
    }

    function kept() {
        try {
            const from = storage();
            if (from)
                return {
                    text: from.getItem(characterKey),
                    fileName: from.getItem(fileNameKey),
                    modified: from.getItem(modifiedKey) !== null,
                };
        } catch (e) {
            // Unreadable storage holds nothing for us.
        }
        return { text: null, fileName: null, modified: false };
    }

    function forget() {
        try {
            const from = storage();
            if (from) {
                from.removeItem(characterKey);
                from.removeItem(fileNameKey);
                from.removeItem(modifiedKey);
            }
        } catch (e) {
            // Nothing to do about it.
        }
    }

    function bytesOf(text) {
        return new TextEncoder().encode(text);
    }

    // Hands the file to the browser, which saves it among the user's downloads (or asks where to).
    function download(text, fileName) {
        const url = URL.createObjectURL(new Blob([bytesOf(text)], { type: "application/octet-stream" }));
        const link = document.createElement("a");
        link.href = url;
        link.download = fileName;
        link.hidden = true;
        document.body.appendChild(link);
        link.click();
        link.remove();
        // The browser has taken its copy by the time the page is idle again.
        setTimeout(() => URL.revokeObjectURL(url), 60000);
    }

    async function read(file) {
        return new Uint8Array(await file.arrayBuffer());
    }

    return { keep, kept, forget, bytesOf, download, read };
})();
