// Appended to vorn.js, after the module's glue; the page runs it first of all its scripts. The module's
// code comes one of two ways, the same bytes either way: from a web server, vorn.wasm is fetched and
// compiled while it downloads; opened from disk, where a page may fetch no file, vorn-wasm.js brings it
// as a script. It starts as soon as this script has run, while the page's own script and styles are
// still loading; the calculator awaits it.
const VornModule = (() => {
    const make = createVornModule;
    const here = document.currentScript.src;
    const served = location.protocol === "http:" || location.protocol === "https:";
    // Compiled once; a second instance (the tests and the benchmark make their own) reuses it.
    let compiled;

    const streamed = (imports) => {
        const url = new URL("vorn.wasm", here).href;
        return WebAssembly.instantiateStreaming(fetch(url, { credentials: "same-origin" }), imports)
            // A server that gives the file another type than application/wasm: compiled once it is whole.
            .catch(() => fetch(url, { credentials: "same-origin" }).then((response) => {
                if (!response.ok)
                    throw new Error("vorn.wasm: " + response.status);
                return response.arrayBuffer();
            }).then((bytes) => WebAssembly.instantiate(bytes, imports)));
    };

    const carried = (imports) => new Promise((resolve, reject) => {
        const script = document.createElement("script");
        script.src = new URL("vorn-wasm.js", here).href;
        script.onload = () => {
            const text = atob(self.vornWasm);
            delete self.vornWasm;
            script.remove();
            const bytes = new Uint8Array(text.length);
            for (let i = 0; i < text.length; ++i)
                bytes[i] = text.charCodeAt(i);
            resolve(WebAssembly.instantiate(bytes, imports));
        };
        script.onerror = () => reject(new Error("vorn-wasm.js could not be loaded"));
        document.head.append(script);
    });

    createVornModule = (settings) => {
        let failed;
        const failure = new Promise((resolve, reject) => { failed = reject; });
        const module = make(Object.assign({
            instantiateWasm(imports, receive) {
                const instance = compiled
                    ? compiled.then((code) => WebAssembly.instantiate(code, imports))
                    : (served ? streamed(imports) : carried(imports)).then((result) => {
                        compiled = Promise.resolve(result.module);
                        return result.instance;
                    });
                instance.then((made) => receive(made), failed);
                return {};
            },
        }, settings));
        return Promise.race([module, failure]);
    };
    const started = createVornModule();
    // The calculator's first question at its start is the user's number format. The browser takes a
    // while to answer it the first time (it loads the language's data), and then answers again at once:
    // asked now, it is answered while the module compiles rather than after.
    try {
        new Intl.NumberFormat(navigator.language).formatToParts(12345.6);
    } catch {
        // An unknown language: the calculator keeps its plain format.
    }
    return started;
})();
