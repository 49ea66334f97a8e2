
export default class ActiveWindowExtension extends Extension {
    enable() {
        this._publisher = new ActiveWindowPublisher(this.dir);
        this._publisher.enable();
    }

    disable() {
        this._publisher.disable();
        this._publisher = null;
    }
}
