inherited FilerDerivedForm: TFilerDerivedForm
  Caption = 'derived'
  inherited Panel1: TFilerComp
    inherited Button1: TFilerComp
      Caption = 'changed'
    end
    object Extra1: TFilerComp
      Caption = 'extra'
    end
  end
end
